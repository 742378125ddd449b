#include "study/control_random.h"

namespace quorel {

std::uint32_t ControlRandom::Below(std::uint32_t bound) {
  // x * bound / 2^32 for a 32-bit x maps 2^32 values onto `bound` results; the low half of the
  // product tells which x fall into the 2^32 mod bound surplus, and those are drawn again.
  std::uint64_t product = (Next() >> 32) * bound;
  auto low = static_cast<std::uint32_t>(product);
  if (low < bound) {
    const std::uint32_t surplus = static_cast<std::uint32_t>(-bound) % bound;
    while (low < surplus) {
      product = (Next() >> 32) * bound;
      low = static_cast<std::uint32_t>(product);
    }
  }
  return static_cast<std::uint32_t>(product >> 32);
}

}  // namespace quorel
