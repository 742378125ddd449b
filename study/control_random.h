// The random numbers behind the control texts. They must be the same on every machine and in
// every shard, whatever the order in which controls are made, so each control text has its own
// stream, keyed by the study's seed and the control's index:
//
//   key      = Mix64(Mix64(seed) ^ control_index)
//   output k = Mix64(key + (k + 1) * 0x9E3779B97F4A7C15)        k = 0, 1, 2, ...
//
// which is SplitMix64 (Steele, Lea and Flood 2014) started at `key`: a counter-based generator,
// output k depends on k alone, never on a state carried between controls. A whole number below
// `bound` is drawn from the high 32 bits of one output by Lemire's multiply-and-reject method
// (2019), which is exactly uniform: an output that would bias the result is rejected and the next
// one drawn.
#pragma once

#include <cstdint>

namespace quorel {

// SplitMix64's finaliser: a bijection on 64 bits that mixes every input bit into every output bit.
constexpr std::uint64_t Mix64(std::uint64_t z) {
  z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ULL;
  z = (z ^ (z >> 27)) * 0x94D049BB133111EBULL;
  return z ^ (z >> 31);
}

class ControlRandom {
 public:
  ControlRandom(std::uint64_t seed, std::uint64_t control_index)
      : state_(Mix64(Mix64(seed) ^ control_index)) {}

  // The next 64-bit output of the stream.
  std::uint64_t Next() {
    state_ += kGamma;
    return Mix64(state_);
  }

  // A whole number from 0 to bound - 1, each equally likely; 1 <= bound < 2^32.
  std::uint32_t Below(std::uint32_t bound);

 private:
  static constexpr std::uint64_t kGamma = 0x9E3779B97F4A7C15ULL;
  std::uint64_t state_;
};

}  // namespace quorel
