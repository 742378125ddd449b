// SPDX-License-Identifier: GPL-3.0-or-later
#include "scan/letter_bitset.h"

#include <bit>

#include "scan/simd_target.h"

#if QUOREL_HAS_AVX2_PATH
#include <immintrin.h>
#endif

namespace quorel {
namespace {

constexpr std::int64_t kWordBits = 64;

// Forward word w and backward word word_count - 1 - w both come from letters 64w..64w+63: the
// backward word holds the same bits in reverse order.
struct Output {
  std::uint64_t* words = nullptr;
};

std::int64_t WordCount(std::u16string_view letters) {
  return (static_cast<std::int64_t>(letters.size()) + kWordBits - 1) / kWordBits;
}

std::uint64_t ForwardWord(const char16_t* block, std::int64_t length, char16_t letter) {
  std::uint64_t word = 0;
  for (std::int64_t k = 0; k < length; ++k) {
    word |= static_cast<std::uint64_t>(block[k] == letter) << k;
  }
  return word;
}

std::uint64_t BackwardWord(const char16_t* block, std::int64_t length, char16_t letter) {
  std::uint64_t word = 0;
  for (std::int64_t k = 0; k < length; ++k) {
    word |= static_cast<std::uint64_t>(block[k] == letter) << (kWordBits - 1 - k);
  }
  return word;
}

void StoreWord(std::span<const LetterBitset::Request> requests, std::span<Output> outputs,
               std::int64_t word_count, std::int64_t w, const char16_t* block,
               std::int64_t length) {
  for (std::size_t r = 0; r < requests.size(); ++r) {
    const bool forward = requests[r].order == BitOrder::kForward;
    const std::uint64_t word = forward ? ForwardWord(block, length, requests[r].letter)
                                       : BackwardWord(block, length, requests[r].letter);
    outputs[r].words[forward ? w : word_count - 1 - w] = word;
  }
}

// Fills the words of blocks `from` to the end, the last one possibly partial.
void FillPortable(std::u16string_view letters, std::span<const LetterBitset::Request> requests,
                  std::span<Output> outputs, std::int64_t from) {
  const auto length = static_cast<std::int64_t>(letters.size());
  const std::int64_t word_count = WordCount(letters);
  for (std::int64_t w = from; w < word_count; ++w) {
    const std::int64_t first = w * kWordBits;
    StoreWord(requests, outputs, word_count, w, letters.data() + first,
              std::min(kWordBits, length - first));
  }
}

#if QUOREL_HAS_AVX2_PATH
// Byte k is 0xFF where block[k] is the wanted letter, for 32 letters.
QUOREL_TARGET_AVX2 __m256i MatchBytes(__m256i low, __m256i high, __m256i wanted) {
  // Packing works within 128-bit lanes; the permutation puts the bytes back in text order.
  return _mm256_permute4x64_epi64(
      _mm256_packs_epi16(_mm256_cmpeq_epi16(low, wanted), _mm256_cmpeq_epi16(high, wanted)), 0xD8);
}

QUOREL_TARGET_AVX2 std::uint32_t ForwardMask(__m256i bytes) {
  return static_cast<std::uint32_t>(_mm256_movemask_epi8(bytes));
}

QUOREL_TARGET_AVX2 std::uint32_t BackwardMask(__m256i bytes) {
  const __m256i reverse_in_lanes =
      _mm256_setr_epi8(15, 14, 13, 12, 11, 10, 9, 8, 7, 6, 5, 4, 3, 2, 1, 0, 15, 14, 13, 12, 11, 10,
                       9, 8, 7, 6, 5, 4, 3, 2, 1, 0);
  return static_cast<std::uint32_t>(_mm256_movemask_epi8(
      _mm256_permute4x64_epi64(_mm256_shuffle_epi8(bytes, reverse_in_lanes), 0x4E)));
}

// Fills the words of all whole blocks; returns how many that is.
QUOREL_TARGET_AVX2 std::int64_t FillWholeBlocksAvx2(std::u16string_view letters,
                                                    std::span<const LetterBitset::Request> requests,
                                                    std::span<Output> outputs) {
  const std::int64_t whole_blocks = static_cast<std::int64_t>(letters.size()) / kWordBits;
  const std::int64_t word_count = WordCount(letters);
  for (std::int64_t w = 0; w < whole_blocks; ++w) {
    const auto* block = reinterpret_cast<const __m256i*>(letters.data() + w * kWordBits);
    const __m256i quarter0 = _mm256_loadu_si256(block);
    const __m256i quarter1 = _mm256_loadu_si256(block + 1);
    const __m256i quarter2 = _mm256_loadu_si256(block + 2);
    const __m256i quarter3 = _mm256_loadu_si256(block + 3);
    for (std::size_t r = 0; r < requests.size(); ++r) {
      const __m256i wanted = _mm256_set1_epi16(static_cast<short>(requests[r].letter));
      const __m256i first_half = MatchBytes(quarter0, quarter1, wanted);
      const __m256i second_half = MatchBytes(quarter2, quarter3, wanted);
      if (requests[r].order == BitOrder::kForward) {
        outputs[r].words[w] =
            ForwardMask(first_half) | (std::uint64_t{ForwardMask(second_half)} << 32);
      } else {
        outputs[r].words[word_count - 1 - w] =
            BackwardMask(second_half) | (std::uint64_t{BackwardMask(first_half)} << 32);
      }
    }
  }
  return whole_blocks;
}
#endif

// Counts first, then writes four bits a step without testing each, so that the words, which
// mostly hold one set bit or none, cost no mispredicted branch each.
[[gnu::always_inline]] inline void AppendSetBits(std::span<const std::uint64_t> words,
                                                 std::int64_t skipped_bits,
                                                 std::vector<std::int32_t>& bits) {
  std::int64_t count = 0;
  for (const std::uint64_t word : words) {
    count += std::popcount(word);
  }
  // Room for the four slots that a step may fill past the last bit.
  bits.resize(static_cast<std::size_t>(count + 4));
  std::int32_t* out = bits.data();
  for (std::size_t w = 0; w < words.size(); ++w) {
    std::uint64_t word = words[w];
    const auto first_bit =
        static_cast<std::int32_t>(static_cast<std::int64_t>(w) * kWordBits - skipped_bits);
    std::int32_t* const end = out + std::popcount(word);
    std::int32_t* slot = out;
    do {
      for (int k = 0; k < 4; ++k) {
        slot[k] = first_bit + std::countr_zero(word);
        word &= word - 1;
      }
      slot += 4;
    } while (slot < end);
    out = end;
  }
  bits.resize(static_cast<std::size_t>(count));
}

#if QUOREL_HAS_AVX2_PATH
QUOREL_TARGET_AVX2 void AppendSetBitsAvx2(std::span<const std::uint64_t> words,
                                          std::int64_t skipped_bits,
                                          std::vector<std::int32_t>& bits) {
  AppendSetBits(words, skipped_bits, bits);
}
#endif

}  // namespace

std::vector<LetterBitset> LetterBitset::Build(std::u16string_view letters,
                                              std::span<const Request> requests,
                                              ScanKernel kernel) {
  const std::int64_t word_count = WordCount(letters);
  std::vector<std::vector<std::uint64_t>> words(requests.size());
  std::vector<Output> outputs(requests.size());
  for (std::size_t r = 0; r < requests.size(); ++r) {
    words[r].assign(static_cast<std::size_t>(word_count + 1), 0);
    outputs[r].words = words[r].data();
  }
#if QUOREL_HAS_AVX2_PATH
  const std::int64_t done =
      kernel == ScanKernel::kAvx2 ? FillWholeBlocksAvx2(letters, requests, outputs) : 0;
#else
  (void)kernel;
  const std::int64_t done = 0;
#endif
  FillPortable(letters, requests, outputs, done);

  std::vector<LetterBitset> bitsets;
  bitsets.reserve(requests.size());
  for (std::size_t r = 0; r < requests.size(); ++r) {
    const std::int64_t skipped =
        requests[r].order == BitOrder::kBackward
            ? word_count * kWordBits - static_cast<std::int64_t>(letters.size())
            : 0;
    bitsets.push_back(LetterBitset(std::move(words[r]), skipped));
  }
  return bitsets;
}

std::vector<std::int32_t> LetterBitset::SetBits(ScanKernel kernel) const {
  std::vector<std::int32_t> bits;
#if QUOREL_HAS_AVX2_PATH
  if (kernel == ScanKernel::kAvx2) {
    AppendSetBitsAvx2(words_, skipped_bits_, bits);
    return bits;
  }
#else
  (void)kernel;
#endif
  AppendSetBits(words_, skipped_bits_, bits);
  return bits;
}

}  // namespace quorel
