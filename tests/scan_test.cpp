// SPDX-License-Identifier: GPL-3.0-or-later
// The fast scan against the direct scan, find for find: random texts and words with skewed
// letter frequencies so that finds are common, the edges of the skip range, and the real text.
#include "scan/scanner.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <limits>
#include <numeric>
#include <random>
#include <string>
#include <vector>

#include "scan/direct_scan.h"
#include "scan/directional_scanner.h"
#include "scan/letter_bitset.h"
#include "text/hebrew_letters.h"
#include "text/letter_text.h"

namespace quorel {
namespace {

constexpr char16_t kAlef = u'\u05D0';
constexpr char16_t kBet = u'\u05D1';
constexpr char16_t kGimel = u'\u05D2';
constexpr char16_t kFinalMem = u'\u05DD';
constexpr char16_t kMem = u'\u05DE';

// Every kernel this processor can run: the portable one, and AVX2 where it is there.
std::vector<ScanKernel> Kernels() {
  std::vector<ScanKernel> kernels = {ScanKernel::kPortable};
  if (BestScanKernel() != ScanKernel::kPortable) {
    kernels.push_back(BestScanKernel());
  }
  return kernels;
}

const char* KernelName(ScanKernel kernel) {
  return kernel == ScanKernel::kAvx2 ? "avx2" : "portable";
}

std::vector<std::int32_t> DirectFinds(std::u16string_view letters, std::u16string_view target,
                                      std::int32_t skip) {
  std::vector<std::int32_t> finds;
  DirectScan(letters, target, skip, finds);
  return finds;
}

// Compares the scanner of each kernel with the direct scan at each skip of `skips`, in that
// order, and stops at the first skip where they differ.
void ExpectSameFinds(std::u16string_view letters, std::u16string_view target,
                     const std::vector<std::int32_t>& skips) {
  std::vector<Scanner> scanners;
  for (const ScanKernel kernel : Kernels()) {
    scanners.emplace_back(letters, target, kernel);
  }
  std::vector<std::int32_t> finds = {-1};  // must be replaced, not appended to
  for (const std::int32_t skip : skips) {
    const std::vector<std::int32_t> expected = DirectFinds(letters, target, skip);
    for (std::size_t k = 0; k < scanners.size(); ++k) {
      scanners[k].FindsAtSkip(skip, finds);
      ASSERT_EQ(finds, expected) << KernelName(Kernels()[k]) << " kernel, skip " << skip
                                 << ", text of " << letters.size() << " letters, target of "
                                 << target.size();
    }
  }
}

// Skips first..last in increasing order, the order of a run.
std::vector<std::int32_t> SkipRange(std::int32_t first, std::int32_t last) {
  std::vector<std::int32_t> skips;
  for (std::int32_t skip = first; skip <= last; ++skip) {
    skips.push_back(skip);
  }
  return skips;
}

// The largest skip with a start position, and a few beyond it.
std::int32_t SkipsToTry(std::size_t text_length, std::size_t target_length) {
  if (target_length > text_length) {
    return 3;
  }
  return static_cast<std::int32_t>((text_length - 1) / (target_length - 1)) + 3;
}

// Letters with skewed frequencies: a few regular letters, each about half as common as the one
// before, with now and then a blank, a final form or a character from outside the Hebrew block.
class SkewedLetters {
 public:
  explicit SkewedLetters(std::uint32_t seed) : random_(seed) {
    std::vector<char16_t> regular;
    for (char16_t letter = kAlef; letter <= u'\u05EA'; ++letter) {
      if (letter != u'\u05DA' && letter != kFinalMem && letter != u'\u05DF' &&
          letter != u'\u05E3' && letter != u'\u05E5') {
        regular.push_back(letter);
      }
    }
    std::shuffle(regular.begin(), regular.end(), random_);
    const std::size_t count = std::uniform_int_distribution<std::size_t>(2, 6)(random_);
    alphabet_.assign(regular.begin(), regular.begin() + static_cast<std::ptrdiff_t>(count));
    std::vector<double> weights;
    for (std::size_t k = 0; k < count; ++k) {
      weights.push_back(1.0 / static_cast<double>(1 << k));
    }
    pick_ = std::discrete_distribution<std::size_t>(weights.begin(), weights.end());
  }

  std::u16string Text(std::size_t length) {
    constexpr char16_t kOthers[] = {u' ', kFinalMem, u'A', u'\u05B8'};
    std::bernoulli_distribution other(0.03);
    std::u16string text;
    for (std::size_t k = 0; k < length; ++k) {
      text += other(random_) ? kOthers[random_() % 4] : Letter();
    }
    return text;
  }

  std::u16string Word(std::size_t length) {
    std::u16string word;
    for (std::size_t k = 0; k < length; ++k) {
      word += Letter();
    }
    return word;
  }

  // A text of `length` letters in the middle of a longer string of the same letters, so that a
  // scan that reads past either end of its text would make finds of its own there.
  std::u16string_view EmbeddedText(std::size_t length) {
    embedding_ = Text(length) + Text(length) + Text(length);
    return std::u16string_view(embedding_).substr(length, length);
  }

  std::mt19937& Random() { return random_; }

 private:
  char16_t Letter() { return alphabet_[pick_(random_)]; }

  std::mt19937 random_;
  std::vector<char16_t> alphabet_;
  std::discrete_distribution<std::size_t> pick_;
  std::u16string embedding_;
};

TEST(Scanner, MatchesTheDirectScanOnRandomTextsAtEverySkip) {
  // Lengths around the 64-bit words and 64-skip blocks, and targets of every length from 2 up
  // to beyond the text.
  const std::size_t text_lengths[] = {2, 5, 63, 64, 65, 129, 700};
  std::uint32_t seed = 1;
  for (const std::size_t text_length : text_lengths) {
    for (std::size_t target_length = 2; target_length <= text_length + 2; ++target_length) {
      if (target_length > 16 && target_length % 7 != 0 && target_length + 2 < text_length) {
        continue;  // longer targets: a spread of lengths is enough
      }
      SkewedLetters letters(++seed);
      const std::u16string_view text = letters.EmbeddedText(text_length);
      const std::u16string target = letters.Word(target_length);
      SCOPED_TRACE("seed " + std::to_string(seed));
      ExpectSameFinds(text, target, SkipRange(1, SkipsToTry(text_length, target_length)));
    }
  }
}

TEST(Scanner, GivesAnySkipInAnyOrderAndTheSameSkipTwice) {
  SkewedLetters letters(77);
  const std::u16string_view text = letters.EmbeddedText(3000);
  for (const std::size_t target_length : {2, 3, 5}) {
    const std::u16string target = letters.Word(target_length);
    std::vector<std::int32_t> skips = SkipRange(1, 400);
    std::shuffle(skips.begin(), skips.end(), letters.Random());
    skips.insert(skips.end(), {5, 5, 6, 7, 7, 200, 199, 64, 65, 1, 1});
    ExpectSameFinds(text, target, skips);
  }
}

TEST(Scanner, MatchesTheDirectScanOnFullLengthRandomTexts) {
  SkewedLetters letters(2024);
  const std::u16string text = letters.Text(TEXT_LENGTH);
  const std::vector<std::int32_t> skips = [] {
    std::vector<std::int32_t> range = SkipRange(1, 24);
    const std::vector<std::int32_t> high = SkipRange(30484, 30490);
    range.insert(range.end(), high.begin(), high.end());
    return range;
  }();
  for (const std::size_t target_length : {2, 4, 7, 11}) {
    ExpectSameFinds(text, letters.Word(target_length), skips);
  }
  // Long targets: only the smallest skips have start positions.
  for (const std::size_t target_length : {30000, 152403, 152404, 304805}) {
    ExpectSameFinds(text, letters.Word(target_length), SkipRange(1, 12));
  }
}

struct EdgeCase {
  const char* what;
  std::u16string text;
  std::u16string target;
  std::int32_t skip;
  std::vector<std::int32_t> finds;
};

// A text of `length` gimels with the given letters placed at 1-based positions.
std::u16string Placed(std::size_t length,
                      std::initializer_list<std::pair<std::size_t, char16_t>> letters) {
  std::u16string text(length, kGimel);
  for (const auto& [position, letter] : letters) {
    text[position - 1] = letter;
  }
  return text;
}

TEST(Scanner, EdgesOfTheTextAndOfTheSkipRange) {
  const std::u16string ab = {kAlef, kBet};
  const std::u16string aba = {kAlef, kBet, kAlef};
  const EdgeCase cases[] = {
      {"find ending on the last letter", Placed(100, {{40, kAlef}, {100, kBet}}), ab, 60, {40}},
      {"find starting on the first letter", Placed(100, {{1, kAlef}, {31, kBet}}), ab, 30, {1}},
      {"(len - 1) * skip = length - 1: start 1 only",
       Placed(99, {{1, kAlef}, {50, kBet}, {99, kAlef}}),
       aba,
       49,
       {1}},
      {"(len - 1) * skip = length: no start", Placed(100, {{1, kAlef}, {51, kBet}}), aba, 50, {}},
      {"overlapping finds at one skip",
       std::u16string(10, kAlef),
       {kAlef, kAlef, kAlef},
       2,
       {1, 2, 3, 4, 5, 6}},
      {"a final form never equals a target letter",
       Placed(10, {{2, kAlef}, {3, kFinalMem}}),
       {kAlef, kMem},
       1,
       {}},
      {"blanks are no letters", std::u16string(10, u' '), {kAlef, kAlef}, 1, {}},
      {"a letter missing from the text", std::u16string(50, kAlef), {kAlef, kBet}, 3, {}},
  };
  for (const EdgeCase& c : cases) {
    SCOPED_TRACE(c.what);
    ASSERT_EQ(DirectFinds(c.text, c.target, c.skip), c.finds);
    ExpectSameFinds(c.text, c.target, {c.skip});
  }
}

TEST(Scanner, LongTargetIsComparedToItsLastLetter) {
  // 300 alefs in a text of alefs with one bet at position 600: at skip 1 only the starts whose
  // stretch ends before the bet are finds, and for many others the bet meets one of the
  // target's last letters.
  std::u16string text(700, kAlef);
  text[599] = kBet;
  const std::u16string target(300, kAlef);
  std::vector<std::int32_t> expected(300);
  std::iota(expected.begin(), expected.end(), 1);
  ASSERT_EQ(DirectFinds(text, target, 1), expected);
  ExpectSameFinds(text, target, {1, 2, 3});
}

TEST(Scanner, NoOverflowForHugeSkipsOrTargets) {
  SkewedLetters letters(5);
  const std::u16string text = letters.Text(TEXT_LENGTH);
  const std::u16string million(1'000'000, kAlef);
  const std::u16string two = letters.Word(2);
  constexpr std::int32_t kMax = std::numeric_limits<std::int32_t>::max();
  std::vector<std::int32_t> finds;
  for (const ScanKernel kernel : Kernels()) {
    const Scanner huge(text, million, kernel);
    for (const std::int32_t skip : {1, 2, 30490, kMax}) {
      huge.FindsAtSkip(skip, finds);
      EXPECT_TRUE(finds.empty()) << skip;
    }
    const Scanner pair(text, two, kernel);
    pair.FindsAtSkip(kMax, finds);
    EXPECT_TRUE(finds.empty());
    pair.FindsAtSkip(TEXT_LENGTH - 1, finds);
    EXPECT_EQ(finds, DirectFinds(text, two, TEXT_LENGTH - 1));
  }
}

TEST(LetterBitset, WindowsReadTheTextBothWays) {
  SkewedLetters letters(9);
  for (const std::size_t length : {1, 63, 64, 65, 200, 1000}) {
    const std::u16string text = letters.Text(length);
    for (const ScanKernel kernel : Kernels()) {
      for (const char16_t letter : text.substr(0, 3)) {
        const LetterBitset::Request requests[] = {{letter, BitOrder::kForward},
                                                  {letter, BitOrder::kBackward}};
        const std::vector<LetterBitset> bitsets = LetterBitset::Build(text, requests, kernel);
        for (std::size_t first = 0; first < length; ++first) {
          std::uint64_t forward = 0;
          std::uint64_t backward = 0;
          for (std::size_t k = 0; k < 64 && first + k < length; ++k) {
            forward |= std::uint64_t{text[first + k] == letter} << k;
            backward |= std::uint64_t{text[length - 1 - first - k] == letter} << k;
          }
          ASSERT_EQ(bitsets[0].Window(static_cast<std::int64_t>(first)), forward)
              << KernelName(kernel) << " length " << length << " first " << first;
          ASSERT_EQ(bitsets[1].Window(static_cast<std::int64_t>(first)), backward)
              << KernelName(kernel) << " length " << length << " first " << first;
        }
        std::vector<std::int32_t> positions;
        for (std::size_t p = 0; p < length; ++p) {
          if (text[p] == letter) {
            positions.push_back(static_cast<std::int32_t>(p));
          }
        }
        EXPECT_EQ(bitsets[0].SetBits(kernel), positions);
      }
    }
  }
}

class RealTextScan : public ::testing::Test {
 protected:
  void SetUp() override {
    const std::filesystem::path data = QUOREL_SHARED_DATA "/Quorel.DSF";
    if (!std::filesystem::exists(data)) {
      GTEST_SKIP() << "the real text is not at " << data;
    }
    LoadResult load = LoadLetterText(data);
    ASSERT_TRUE(load.text.has_value()) << load.failure;
    text_ = std::move(*load.text);
  }
  LetterText text_;
};

TEST_F(RealTextScan, MatchesTheDirectScanForAFewRanges) {
  const std::u16string words[] = {
      u"\u05D0\u05DC",                                // two common letters
      u"\u05D7\u05D5\u05E4\u05E9",                    // the default word
      u"\u05D9\u05E8\u05D5\u05E9\u05DC\u05D9\u05DE",  // seven letters
      u"\u05EA\u05D5\u05E8\u05D4",                    // finds at many skips
  };
  std::vector<std::int32_t> skips = SkipRange(1, 80);
  for (const std::int32_t skip : {1000, 1001, 1002, 12345, 30479, 30480, 30490}) {
    skips.push_back(skip);
  }
  for (const std::u16string& word : words) {
    ExpectSameFinds(text_.Letters(), word, skips);
  }
}

}  // namespace
}  // namespace quorel

// Both directions: every find of the directional scanner is the direct scan's, at every skip
// from -40 to 40, on random texts of few letters where finds are many.
TEST(DirectionalScanner, EqualsTheDirectScanInBothDirections) {
  std::mt19937 random(20261211);
  for (int round = 0; round < 20; ++round) {
    std::u16string letters(1000 + round * 37, u' ');
    for (char16_t& c : letters) {
      c = static_cast<char16_t>(u'\u05D0' + random() % 3);
    }
    std::u16string target(2 + round % 4, u' ');
    for (char16_t& c : target) {
      c = static_cast<char16_t>(u'\u05D0' + random() % 3);
    }
    const quorel::DirectionalScanner scanner(letters, target);
    std::vector<std::int32_t> fast;
    for (std::int32_t skip = -40; skip <= 40; ++skip) {
      if (skip == 0) {
        continue;
      }
      std::vector<std::int32_t> direct;
      quorel::DirectScan(letters, target, skip, direct);
      scanner.FindsAtSkip(skip, fast);
      ASSERT_EQ(fast, direct) << "round " << round << ", skip " << skip;
    }
  }
}

TEST(DirectionalScanner, BackwardFindStartsAtTheWordsFirstLetter) {
  // אבג read backwards at skip 3: א at 10, ב at 7, ג at 4.
  std::u16string letters(12, u'\u05D3');
  letters[9] = u'\u05D0';
  letters[6] = u'\u05D1';
  letters[3] = u'\u05D2';
  const quorel::DirectionalScanner scanner(letters, u"\u05D0\u05D1\u05D2");
  std::vector<std::int32_t> finds;
  scanner.FindsAtSkip(-3, finds);
  EXPECT_EQ(finds, std::vector<std::int32_t>{10});
  scanner.FindsAtSkip(3, finds);
  EXPECT_TRUE(finds.empty());
}

// Final forms read as their letters: the fast scan of the folded letters finds, in both
// directions, exactly what the direct scan's letter-by-letter test finds when it folds each
// letter of the text itself.
TEST(DirectionalScanner, EqualsTheDirectScanWithFinalFormsFolded) {
  std::mt19937 random(20261212);
  // mem, final mem and alef: a word with mem matches either form only when folded.
  const char16_t kLetters[] = {u'\u05DE', u'\u05DD', u'\u05D0'};
  for (int round = 0; round < 10; ++round) {
    std::u16string letters(2000 + round * 41, u' ');
    for (char16_t& c : letters) {
      c = kLetters[random() % 3];
    }
    std::u16string target(2 + round % 3, u' ');
    for (char16_t& c : target) {
      c = random() % 2 == 0 ? u'\u05DE' : u'\u05D0';
    }
    const std::u16string folded = quorel::FoldFinals(letters);
    const quorel::DirectionalScanner scanner(folded, target);
    std::vector<std::int32_t> fast;
    for (std::int32_t skip = -30; skip <= 30; ++skip) {
      if (skip == 0) {
        continue;
      }
      std::vector<std::int32_t> direct;
      const std::int64_t span = (static_cast<std::int64_t>(target.size()) - 1) * skip;
      for (std::int64_t i = 1; i <= static_cast<std::int64_t>(letters.size()); ++i) {
        const std::int64_t last = i + span;
        if (last < 1 || last > static_cast<std::int64_t>(letters.size())) {
          continue;
        }
        bool all = true;
        for (std::size_t j = 0; j < target.size() && all; ++j) {
          const auto p = static_cast<std::size_t>(i - 1 + static_cast<std::int64_t>(j) * skip);
          all = quorel::RegularLetter(letters[p]) == target[j];
        }
        if (all) {
          direct.push_back(static_cast<std::int32_t>(i));
        }
      }
      std::vector<std::int32_t> direct_of_folded;
      quorel::DirectScan(folded, target, skip, direct_of_folded);
      ASSERT_EQ(direct_of_folded, direct) << "round " << round << ", skip " << skip;
      scanner.FindsAtSkip(skip, fast);
      ASSERT_EQ(fast, direct) << "round " << round << ", skip " << skip;
    }
  }
}
