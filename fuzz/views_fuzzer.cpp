// SPDX-License-Identifier: GPL-3.0-or-later
// The views around a find, for any find that can exist: the first bytes choose the skip, its
// direction, the word's length and the start position, the rest are the text's first letters.
#include <cstring>

#include "fuzz_input.h"
#include "search/context_view.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  using namespace quorel;
  if (size < 8) {
    return 0;
  }
  std::uint16_t skip_bits = 0;
  std::uint16_t len_bits = 0;
  std::uint32_t start_bits = 0;
  std::memcpy(&skip_bits, data, 2);
  std::memcpy(&len_bits, data + 2, 2);
  std::memcpy(&start_bits, data + 4, 4);
  const std::int32_t skip = 1 + skip_bits % 30490;
  // The top bit reads the word backwards: the same letters, from the highest position down.
  const bool backward = (len_bits & 0x8000) != 0;
  const std::int64_t target_len = 2 + (len_bits & 0x7FFF) % 200;
  const std::int64_t last_start = LastStart(target_len, skip);
  if (last_start < 1) {
    return 0;
  }
  const auto lowest = static_cast<std::int32_t>(1 + start_bits % last_start);
  const auto position =
      backward ? static_cast<std::int32_t>(lowest + (target_len - 1) * skip) : lowest;

  LetterText text;
  for (std::size_t k = 8; k < size && k - 7 <= static_cast<std::size_t>(TEXT_LENGTH); ++k) {
    text.SetFromByte(static_cast<std::int32_t>(k - 7), data[k] % 0xA0);
  }
  const Find find{backward ? -skip : skip, position, target_len};

  std::int64_t rows_inside = 0;
  for (std::int64_t j = 1; j <= target_len + 20; ++j) {
    const std::int64_t k = position + (j - 11) * find.skip;
    rows_inside += k >= 1 && k <= TEXT_LENGTH;
  }
  const std::u16string area = AreaView(text, find);
  fuzz::Check(area.size() == static_cast<std::size_t>(rows_inside * 63 + 4 * 2));
  const std::u16string line = OneLineView(text, find);
  fuzz::Check(line.size() == static_cast<std::size_t>(8 + rows_inside + 2 + 4));
  fuzz::Check(FindHeader(find).size() + area.size() <= LongestFindText(target_len));
  return 0;
}
