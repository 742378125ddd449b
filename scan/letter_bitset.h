// SPDX-License-Identifier: GPL-3.0-or-later
// Where letters stand in the text, one bit per position, so that 64 positions are tested in a
// single word operation.
#pragma once

#include <cstdint>
#include <span>
#include <string_view>
#include <utility>
#include <vector>

#include "scan/scan_kernel.h"

namespace quorel {

// Which way the bits run through the text.
enum class BitOrder {
  kForward,   // bit i is 0-based text position i
  kBackward,  // bit i is 0-based text position length - 1 - i
};

class LetterBitset {
 public:
  struct Request {
    char16_t letter = 0;
    BitOrder order = BitOrder::kForward;
  };

  // The bitset of each request, in the same order, all built in one pass over `letters`.
  static std::vector<LetterBitset> Build(std::u16string_view letters,
                                         std::span<const Request> requests, ScanKernel kernel);

  // The 64 bits from bit `first` on: bit k of the result is bit first + k. `first` may be any
  // bit of the text, 0 to length - 1; bits past its end read as zero.
  std::uint64_t Window(std::int64_t first) const {
    const std::int64_t bit = first + skipped_bits_;
    const std::uint64_t* source = words_.data() + (bit >> 6);
    const int shift = static_cast<int>(bit & 63);
    // Two shifts on the high word, so that a shift of 0 never shifts by 64.
    return (source[0] >> shift) | ((source[1] << 1) << (63 - shift));
  }

  // Bit `bit`, 0 to length - 1.
  bool Test(std::int64_t bit) const {
    const std::int64_t at = bit + skipped_bits_;
    return ((words_[static_cast<std::size_t>(at >> 6)] >> (at & 63)) & 1) != 0;
  }

  // The 0-based bits that are set, in increasing order.
  std::vector<std::int32_t> SetBits(ScanKernel kernel) const;

 private:
  LetterBitset(std::vector<std::uint64_t> words, std::int64_t skipped_bits)
      : words_(std::move(words)), skipped_bits_(skipped_bits) {}

  // The words cover the text rounded up to whole words, plus one zero word for Window. A
  // backward bitset covers the rounded-up text backwards, so its first `skipped_bits_` bits
  // stand for positions past the end of the text.
  std::vector<std::uint64_t> words_;
  std::int64_t skipped_bits_ = 0;
};

}  // namespace quorel
