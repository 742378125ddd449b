// SPDX-License-Identifier: GPL-3.0-or-later
// The control studies' engine on small texts made here: control texts, counts, proximity,
// p-values, shards and the run of the controls.
#include <gtest/gtest.h>

#include <algorithm>
#include <atomic>
#include <map>
#include <stdexcept>
#include <string>
#include <vector>

#include "scan/direct_scan.h"
#include "study/control_random.h"
#include "study/control_runner.h"
#include "study/control_text.h"
#include "study/find_count.h"
#include "study/p_value.h"
#include "study/shard.h"
#include "study/study_result.h"
#include "study/word_finds.h"
#include "study/word_proximity.h"

namespace quorel {
namespace {

constexpr char16_t kAlefBet[] = u"אבגדהוזחטיכלמנסעפצקרשת";

// `length` letters drawn from the first `alphabet` letters of the alef-bet, from stream `seed`.
std::u16string RandomText(std::size_t length, std::uint32_t alphabet, std::uint64_t seed) {
  ControlRandom random(seed, 0xC0FFEE);
  std::u16string text(length, u' ');
  for (char16_t& c : text) {
    c = kAlefBet[random.Below(alphabet)];
  }
  return text;
}

std::u16string Sorted(std::u16string text) {
  std::sort(text.begin(), text.end());
  return text;
}

std::u16string Control(const ControlSource& source, std::uint64_t seed, std::uint64_t index) {
  std::u16string text;
  MakeControlText(source, seed, index, text);
  return text;
}

TEST(ControlRandom, IsSplitMix64) {
  // The first output of SplitMix64 started at 0, as published with the generator.
  EXPECT_EQ(Mix64(0x9E3779B97F4A7C15ULL), 0xE220A8397B1DCDAFULL);
  ControlRandom random(1, 0);
  EXPECT_EQ(random.Next(), 0x4181B152FB77616FULL);
  EXPECT_EQ(random.Next(), 0x169C646D52269D62ULL);
  EXPECT_EQ(random.Next(), 0x4A5DE8D8D53B7280ULL);
}

TEST(ControlRandom, BelowGivesKnownNumbersInRange) {
  ControlRandom random(42, 7);
  const std::vector<std::uint32_t> expected{988, 106, 414, 901, 699};
  for (const std::uint32_t number : expected) {
    EXPECT_EQ(random.Below(1000), number);
  }
  for (const std::uint32_t bound : {1U, 2U, 3U, 304805U, 0xFFFFFFFFU}) {
    for (int k = 0; k < 1000; ++k) {
      EXPECT_LT(random.Below(bound), bound);
    }
  }
}

TEST(ControlRandom, BelowIsEven) {
  ControlRandom random(3, 3);
  std::vector<int> counts(7, 0);
  constexpr int kDraws = 70000;
  for (int k = 0; k < kDraws; ++k) {
    ++counts[random.Below(7)];
  }
  for (const int count : counts) {
    EXPECT_NEAR(count, kDraws / 7, 400);  // about 4 standard deviations
  }
}

TEST(ControlText, FixedSeedGivesKnownTexts) {
  const ControlSource letters{kAlefBet, ControlKind::kLetters, {}};
  EXPECT_EQ(Control(letters, 1, 0), u"קחהפשגסנטלצרעאזדימכתבו");
  EXPECT_EQ(Control(letters, 1, 1), u"שרעפוחתסזצנכגמיהטבלקאד");
  const ControlSource verses{kAlefBet, ControlKind::kVerses, {1, 5, 9, 15}};
  EXPECT_EQ(Control(verses, 1, 0), u"אעפצקרשתיכלמנסבגדהוזחט");
}

TEST(ControlText, LetterShufflesArePermutations) {
  const std::u16string text = RandomText(5000, 22, 1);
  const ControlSource source{text, ControlKind::kLetters, {}};
  std::u16string previous;
  for (std::uint64_t index = 0; index < 5; ++index) {
    const std::u16string control = Control(source, 9, index);
    EXPECT_EQ(Sorted(control), Sorted(text));
    EXPECT_NE(control, text);
    EXPECT_NE(control, previous);
    EXPECT_EQ(control, Control(source, 9, index)) << "the same seed and index, the same text";
    previous = control;
  }
  EXPECT_NE(Control(source, 9, 0), Control(source, 10, 0));
}

TEST(ControlText, VerseShufflesKeepEachVerseInOrder) {
  // Every code unit different, so that each tells where it stood in the text.
  constexpr std::int32_t kLength = 3000;
  std::u16string text(kLength, u' ');
  for (std::int32_t p = 0; p < kLength; ++p) {
    text[static_cast<std::size_t>(p)] = static_cast<char16_t>(0x100 + p);
  }
  std::vector<std::int32_t> starts;
  for (std::int32_t start = 7; start < kLength; start += 13 + start % 17) {
    starts.push_back(start);
  }
  const auto is_start = [&](std::int32_t p) {
    return p == kLength || std::binary_search(starts.begin(), starts.end(), p);
  };
  const ControlSource source{text, ControlKind::kVerses, starts};
  for (std::uint64_t index = 0; index < 3; ++index) {
    const std::u16string control = Control(source, 5, index);
    ASSERT_EQ(control.size(), text.size());
    EXPECT_EQ(Sorted(control), text);
    EXPECT_EQ(control.substr(0, 7), text.substr(0, 7)) << "the letters before the first verse";
    EXPECT_NE(control, text);
    // Read the control verse by verse: each starts where a verse starts and runs on, letter
    // after letter of the text, to where the next verse starts.
    std::size_t at = 7;
    while (at < control.size()) {
      std::int32_t p = control[at] - 0x100;
      ASSERT_TRUE(is_start(p)) << "a verse cut at " << at;
      do {
        ASSERT_EQ(control[at], 0x100 + p);
        ++at;
        ++p;
      } while (!is_start(p));
    }
  }
}

TEST(FindCount, AgreesWithTheDirectScan) {
  const std::u16string text = RandomText(4000, 4, 3);
  for (const std::u16string word : {u"אבג", u"דד", u"אבגד"}) {
    for (const bool both : {false, true}) {
      const StudySkips skips{1, 300, both};
      std::int64_t direct = 0;
      std::vector<std::int32_t> finds;
      for (std::int32_t skip = skips.min; skip <= skips.max; ++skip) {
        for (const std::int32_t signed_skip : {skip, -skip}) {
          if (signed_skip < 0 && !both) {
            continue;
          }
          finds.clear();
          DirectScan(text, word, signed_skip, finds);
          direct += static_cast<std::int64_t>(finds.size());
        }
      }
      EXPECT_EQ(CountFinds(text, word, skips), direct);
      std::vector<SkipFind> listed;
      CollectFinds(text, word, skips, listed);
      EXPECT_EQ(static_cast<std::int64_t>(listed.size()), direct);
    }
  }
}

TEST(FindCount, ExpectedFromLetterShares) {
  // Half alef, half bet: 3 start positions at skip 1, each a find with chance 1/4.
  EXPECT_DOUBLE_EQ(ExpectedFinds(u"אבאב", u"אב", {1, 1, false}), 0.75);
  EXPECT_DOUBLE_EQ(ExpectedFinds(u"אבאב", u"אב", {1, 1, true}), 1.5);
  // Skip 2: 2 starts; skip 3: 1; skip 4: none.
  EXPECT_DOUBLE_EQ(ExpectedFinds(u"אבאב", u"אב", {1, 9, false}), 1.5);
  EXPECT_DOUBLE_EQ(ExpectedFinds(u"אבאב", u"אג", {1, 9, false}), 0);
}

TEST(WordProximity, SuggestedWidths) {
  EXPECT_EQ(SuggestedWidths(7), (std::vector<std::int32_t>{7, 4, 2, 1}));
  EXPECT_EQ(SuggestedWidths(-7), (std::vector<std::int32_t>{7, 4, 2, 1}));
  EXPECT_EQ(SuggestedWidths(2), (std::vector<std::int32_t>{2, 1}));
  EXPECT_EQ(SuggestedWidths(1), (std::vector<std::int32_t>{1}));
  EXPECT_EQ(SuggestedWidths(100),
            (std::vector<std::int32_t>{100, 50, 33, 25, 20, 17, 14, 13, 11, 10}));
}

TEST(WordProximity, WorkedExample) {
  // The manual page's example: A at 3 skip 5 (3, 8, 13), B at 10 skip -4 (10, 6, 2).
  const SkipFind a{3, 5};
  const SkipFind b{10, -4};
  // Width 5: rows 0..2, columns 2 and 4, 0, 1: 3 rows x 5 columns.
  const PairMatrix five = MatrixAtWidth(a, 3, b, 3, 5);
  EXPECT_EQ(five.rows, 3);
  EXPECT_EQ(five.columns, 5);
  // Width 4: A at rows 0, 1, 3, columns 2, 3, 0; B at rows 2, 1, 0, column 1: 4 x 4.
  const PairMatrix four = MatrixAtWidth(a, 3, b, 3, 4);
  EXPECT_EQ(four.rows, 4);
  EXPECT_EQ(four.columns, 4);
  // Width 1 (from n = 5 and more) lays the text out as one column: 12 rows, positions 2 to 13.
  const PairMatrix best = PairProximity(a, 3, b, 3);
  EXPECT_EQ(best.Area(), 12);
  EXPECT_EQ(best.width, 1);
  // Side by side at skip 20: 3 rows x 2 columns in rows of 20.
  const PairMatrix side = PairProximity({101, 20}, 3, {102, 20}, 3);
  EXPECT_EQ(side.Area(), 6);
  EXPECT_EQ(side.width, 20);
}

// Every pair at every width: the definition, slowly.
std::optional<std::int64_t> ProximityOfAllPairs(const WordFinds& one, const WordFinds& two) {
  std::optional<std::int64_t> best;
  for (const SkipFind a : one.finds) {
    for (const SkipFind b : two.finds) {
      if (a == b) {
        continue;
      }
      const std::int64_t area = PairProximity(a, one.letters, b, two.letters).Area();
      best = best ? std::min(*best, area) : area;
    }
  }
  return best;
}

TEST(WordProximity, EqualsTheSmallestOverAllPairs) {
  for (std::uint64_t seed = 1; seed <= 6; ++seed) {
    const std::u16string text = RandomText(2000, 8, seed);
    const StudySkips skips{2, static_cast<std::int32_t>(10 + 8 * seed), true};
    for (const auto& [first, second] : {std::pair<std::u16string, std::u16string>{u"אבג", u"דהא"},
                                        {u"אבג", u"אבג"},
                                        {u"אב", u"אבג"},
                                        {u"גגד", u"הבאד"}}) {
      WordFinds one{static_cast<std::int32_t>(first.size()), {}};
      WordFinds two{static_cast<std::int32_t>(second.size()), {}};
      CollectFinds(text, first, skips, one.finds);
      CollectFinds(text, second, skips, two.finds);
      const std::optional<ClosestPair> closest = WordProximity(one, two);
      const std::optional<std::int64_t> slow = ProximityOfAllPairs(one, two);
      ASSERT_EQ(closest.has_value(), slow.has_value());
      if (closest) {
        EXPECT_EQ(closest->matrix.Area(), *slow) << "seed " << seed;
        EXPECT_EQ(PairProximity(closest->first, one.letters, closest->second, two.letters).Area(),
                  *slow);
      }
    }
  }
}

TEST(WordProximity, NoneWithoutFinds) {
  const WordFinds some{3, {{1, 2}}};
  EXPECT_FALSE(WordProximity(some, WordFinds{3, {}}).has_value());
  EXPECT_FALSE(WordProximity(WordFinds{3, {}}, some).has_value());
  // One word the start of the other: the same find is no pair.
  EXPECT_FALSE(WordProximity(WordFinds{2, {{1, 2}}}, some).has_value());
}

ControlResults Results(std::int64_t total, std::vector<IndexedValue> values) {
  return {total, std::move(values)};
}

TEST(PValue, CountsControlsAtLeastAsExtreme) {
  const ControlResults counts = Results(4, {{0, 5}, {1, 7}, {2, 3}, {3, 7}});
  const ControlResults proximities = Results(4, {{0, 5}, {1, 7}, {2, std::nullopt}, {3, 7}});
  struct Case {
    const ControlResults* controls;
    ControlValue real;
    Extreme extreme;
    std::int64_t as_extreme;
    std::int64_t rank;
  };
  const Case cases[] = {
      {&counts, 7, Extreme::kMore, 2, 1},                  // the two 7s tie; nothing beats it
      {&counts, 6, Extreme::kMore, 2, 3},                  // the 7s beat it
      {&counts, 9, Extreme::kMore, 0, 1},                  // none as many: p = 1 / 5, the least
      {&counts, 3, Extreme::kMore, 4, 4},                  // every control as many
      {&proximities, 5, Extreme::kLess, 1, 1},             // smaller is more extreme
      {&proximities, 7, Extreme::kLess, 3, 2},             // 5 beats it, the 7s tie
      {&proximities, 4, Extreme::kLess, 0, 1},             // closer than every control
      {&proximities, std::nullopt, Extreme::kLess, 4, 4},  // no pair in the text: p = 1
  };
  for (const Case& c : cases) {
    const PValue p = PValueOf(c.real, *c.controls, c.extreme);
    EXPECT_EQ(p.as_extreme, c.as_extreme);
    EXPECT_EQ(p.rank, c.rank);
    EXPECT_DOUBLE_EQ(p.p, (1.0 + static_cast<double>(c.as_extreme)) / 5.0);
  }
}

TEST(StudyResult, MergesDisjointPartsOnly) {
  ControlResults whole = Results(6, {{0, 3}, {2, 1}});
  std::string failure;
  EXPECT_TRUE(MergeControlResults(whole, Results(6, {{1, 4}, {5, std::nullopt}}), failure));
  EXPECT_EQ(whole, Results(6, {{0, 3}, {1, 4}, {2, 1}, {5, std::nullopt}}));
  EXPECT_FALSE(whole.Complete());
  EXPECT_TRUE(MergeControlResults(whole, Results(6, {{3, 2}, {4, 9}}), failure));
  EXPECT_TRUE(whole.Complete());

  ControlResults copy = whole;
  EXPECT_FALSE(MergeControlResults(copy, Results(6, {{4, 9}}), failure));
  EXPECT_EQ(failure, "control 4 lies in two parts");
  EXPECT_FALSE(MergeControlResults(copy, Results(7, {}), failure));

  const ControlSpread spread = SpreadOf(whole);
  EXPECT_EQ(spread.controls, 6);
  EXPECT_EQ(spread.with_value, 5);
  EXPECT_DOUBLE_EQ(spread.mean, 19.0 / 5);
  EXPECT_EQ(spread.min, 1);
  EXPECT_EQ(spread.median, 3);  // 1 2 3 4 9 none: the 3rd smallest
  EXPECT_EQ(spread.max, std::nullopt);
}

TEST(Shard, PartsCoverTheControlsOnce) {
  std::string failure;
  for (const char* bad : {"", "3", "0/4", "5/4", "1/0", "a/b", "1/4x", "-1/4"}) {
    EXPECT_FALSE(ParseShard(bad, failure).has_value()) << bad;
    EXPECT_NE(failure.find("--shard"), std::string::npos);
  }
  EXPECT_EQ(ParseShard("2/8", failure), (Shard{2, 8}));
  for (const std::int64_t controls : {1, 7, 10, 1000}) {
    std::int64_t next = 0;
    for (std::int64_t part = 1; part <= 4; ++part) {
      const ControlRange range = ShardRange({part, 4}, controls);
      EXPECT_EQ(range.first, next);
      next = range.end;
    }
    EXPECT_EQ(next, controls);
  }
  EXPECT_EQ(ShardRange({2, 4}, 10), (ControlRange{2, 5}));
}

TEST(ControlRunner, RunsEveryControlOnceOnEveryWorker) {
  std::vector<std::atomic<int>> runs(100);
  ControlRunOptions options;
  options.workers = 3;
  std::int64_t last_progress = -1;
  options.progress = [&](std::int64_t done) { last_progress = done; };
  const std::vector<std::int64_t> done =
      RunControls({10, 100}, options, [&](std::int64_t index, int worker) {
        EXPECT_GE(worker, 0);
        EXPECT_LT(worker, 3);
        ++runs[static_cast<std::size_t>(index)];
      });
  ASSERT_EQ(done.size(), 90U);
  EXPECT_EQ(done.front(), 10);
  EXPECT_EQ(done.back(), 99);
  EXPECT_EQ(last_progress, 90);
  for (std::size_t k = 0; k < runs.size(); ++k) {
    EXPECT_EQ(runs[k].load(), k < 10 ? 0 : 1);
  }
}

TEST(ControlRunner, StopsBetweenControls) {
  std::atomic<bool> stop{false};
  ControlRunOptions options;
  options.workers = 2;
  options.stop = &stop;
  std::atomic<int> started{0};
  const std::vector<std::int64_t> done = RunControls({0, 1000}, options, [&](std::int64_t, int) {
    if (++started == 5) {
      stop = true;
    }
  });
  EXPECT_GE(done.size(), 5U);
  EXPECT_LT(done.size(), 1000U);
  EXPECT_EQ(static_cast<int>(done.size()), started.load()) << "every control started is done";
}

TEST(ControlRunner, PassesATasksExceptionOn) {
  ControlRunOptions options;
  options.workers = 2;
  EXPECT_THROW(RunControls({0, 50}, options,
                           [](std::int64_t index, int) {
                             if (index == 7) {
                               throw std::runtime_error("out of memory");
                             }
                           }),
               std::runtime_error);
}

// A count study of `word` whose real text is itself a shuffle of `base`: the real text and the
// controls are then alike, and p must be uniform (or, with ties, at least not small too often).
double CountPValue(const std::u16string& base, std::u16string_view word, std::uint64_t seed,
                   std::int64_t controls) {
  const std::u16string real = Control({base, ControlKind::kLetters, {}}, seed, 1'000'000);
  const StudySkips skips{1, 60, false};
  const ControlSource source{real, ControlKind::kLetters, {}};
  ControlResults results{controls, {}};
  for (std::int64_t index = 0; index < controls; ++index) {
    results.values.push_back(
        {index, CountFinds(Control(source, seed, static_cast<std::uint64_t>(index)), word, skips)});
  }
  return PValueOf(CountFinds(real, word, skips), results, Extreme::kMore).p;
}

TEST(CountStudy, PValueOfARandomTextIsUniform) {
  const std::u16string base = RandomText(3000, 6, 11);
  constexpr int kStudies = 200;
  std::vector<double> p_values;
  for (std::uint64_t seed = 1; seed <= kStudies; ++seed) {
    p_values.push_back(CountPValue(base, u"אבג", seed, 19));
  }
  // p takes the values 1/20 .. 20/20; each tenth of [0, 1] should hold about a tenth of them.
  std::vector<int> tenths(10, 0);
  double sum = 0;
  for (const double p : p_values) {
    ++tenths[std::min(9, static_cast<int>((p - 1e-9) * 10))];
    sum += p;
  }
  EXPECT_NEAR(sum / kStudies, 0.525, 0.05);  // the mean of 1/20 .. 20/20
  for (const int count : tenths) {
    EXPECT_GE(count, 6);
    EXPECT_LE(count, 36);
  }
}

// A pair study on `text`: the proximity of the two words in it and in `controls` letter shuffles.
double PairPValue(const std::u16string& text, std::u16string_view first, std::u16string_view second,
                  StudySkips skips, std::int64_t controls) {
  const auto proximity = [&](std::u16string_view letters) -> ControlValue {
    WordFinds one{static_cast<std::int32_t>(first.size()), {}};
    WordFinds two{static_cast<std::int32_t>(second.size()), {}};
    CollectFinds(letters, first, skips, one.finds);
    CollectFinds(letters, second, skips, two.finds);
    const std::optional<ClosestPair> closest = WordProximity(one, two);
    return closest ? ControlValue(closest->matrix.Area()) : ControlValue();
  };
  const ControlSource source{text, ControlKind::kLetters, {}};
  ControlResults results{controls, {}};
  for (std::int64_t index = 0; index < controls; ++index) {
    results.values.push_back(
        {index, proximity(Control(source, 77, static_cast<std::uint64_t>(index)))});
  }
  return PValueOf(proximity(text), results, Extreme::kLess).p;
}

TEST(PairStudy, APlantedPairIsRareAndUnplantedOnesAreNot) {
  std::u16string text = RandomText(20000, 22, 5);
  // Side by side in rows of 50: "שלומ" down one column, "אמתי" down the next.
  for (int k = 0; k < 4; ++k) {
    text[static_cast<std::size_t>(8000 + 50 * k)] = u"שלומ"[k];
    text[static_cast<std::size_t>(8001 + 50 * k)] = u"אמתי"[k];
  }
  const StudySkips skips{10, 300, true};
  EXPECT_LE(PairPValue(text, u"שלומ", u"אמתי", skips, 99), 0.02);
  // Pairs that were not planted are as close as in the controls: their p-values are spread over
  // [0, 1], so few of them are small.
  int small = 0;
  for (const auto& [first, second] : {std::pair<std::u16string, std::u16string>{u"דבר", u"נחלי"},
                                      {u"ספר", u"כתבי"},
                                      {u"יומ", u"לילה"},
                                      {u"ארצ", u"שמימ"},
                                      {u"עיר", u"הרי"}}) {
    small += PairPValue(text, first, second, skips, 99) <= 0.05 ? 1 : 0;
  }
  EXPECT_LE(small, 1);
}

}  // namespace
}  // namespace quorel
