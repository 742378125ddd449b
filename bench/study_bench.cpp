// SPDX-License-Identifier: GPL-3.0-or-later
// Speed of the corrected distance on the real Genesis: one pair of 5- to 7-letter words, every
// combination of a 30 x 30 list on two threads, and a million re-pairings of P1 and P2.
//
//   build/bench/quorel_study_bench
//
// Genesis is the first 78,064 letters of the real text; the words are the first distinct words
// of 5 to 7 letters of genesis.mc.txt. Without the real text the benchmarks skip.
#include <benchmark/benchmark.h>

#include <atomic>
#include <filesystem>
#include <fstream>
#include <set>
#include <sstream>
#include <string>
#include <vector>

#include "study/corrected_distance.h"
#include "study/distance_table.h"
#include "study/pair_permutations.h"
#include "text/hebrew_letters.h"
#include "text/letter_text.h"
#include "tools/mkdsf/michigan_claremont.h"

namespace quorel {
namespace {

const std::filesystem::path kShared = QUOREL_SHARED_DATA;
constexpr std::size_t kGenesisLetters = 78064;

struct Genesis {
  std::u16string letters;
  LetterCounts counts;
  std::vector<std::u16string> words;  // distinct, 5 to 7 letters, in the order of the text
};

// The words of genesis.mc.txt, each verse line being book, chapter, verse and words.
std::vector<std::u16string> GenesisWords(std::size_t wanted) {
  std::ifstream in(kShared / "mc" / "genesis.mc.txt");
  std::vector<std::u16string> words;
  std::set<std::u16string> seen;
  std::string field;
  int column = 0;
  std::string line;
  while (std::getline(in, line) && words.size() < wanted) {
    std::istringstream fields(line);
    column = 0;
    while (fields >> field && words.size() < wanted) {
      if (++column <= 3) {
        continue;
      }
      std::u16string word;
      for (const char c : field) {
        if (const char32_t letter = mkdsf::McLetter(static_cast<unsigned char>(c)); letter != 0) {
          word.push_back(static_cast<char16_t>(letter));
        }
      }
      if (word.size() >= 5 && word.size() <= 7 && seen.insert(word).second) {
        words.push_back(word);
      }
    }
  }
  return words;
}

const Genesis* LoadGenesis() {
  static const Genesis* genesis = []() -> const Genesis* {
    const LoadResult loaded = LoadLetterText(kShared / "Quorel.DSF");
    if (!loaded.text) {
      return nullptr;
    }
    auto* g = new Genesis;
    g->letters = FoldFinals(loaded.text->FileLetters().substr(0, kGenesisLetters));
    g->counts = LetterCounts::Of(g->letters);
    g->words = GenesisWords(60);
    return g->words.size() == 60 ? g : nullptr;
  }();
  return genesis;
}

// The families of both words and their c, as `quorel-study distance` computes them.
void BM_GenesisPair(benchmark::State& state) {
  const Genesis* genesis = LoadGenesis();
  if (genesis == nullptr) {
    state.SkipWithError("the real text or genesis.mc.txt is not in " QUOREL_SHARED_DATA);
    return;
  }
  const std::u16string w = u"ירושלים";
  const std::u16string w_prime = u"מתניה";
  for (auto _ : state) {
    const WordFamilies a = FamiliesOfWord(genesis->letters, genesis->counts, FoldFinals(w));
    const WordFamilies b = FamiliesOfWord(genesis->letters, genesis->counts, FoldFinals(w_prime));
    benchmark::DoNotOptimize(CorrectedDistanceOf(a, b));
  }
}
BENCHMARK(BM_GenesisPair)->Unit(benchmark::kMillisecond);

// c of every combination of 30 first and 30 second words: 60 words' families, 900 pairs.
void BM_ThirtyByThirty(benchmark::State& state) {
  const Genesis* genesis = LoadGenesis();
  if (genesis == nullptr) {
    state.SkipWithError("the real text or genesis.mc.txt is not in " QUOREL_SHARED_DATA);
    return;
  }
  DistanceTableJob job;
  job.letters = genesis->letters;
  job.counts = &genesis->counts;
  job.words = genesis->words;
  for (std::size_t i = 0; i < 30; ++i) {
    for (std::size_t j = 30; j < 60; ++j) {
      job.pairs.emplace_back(i, j);
    }
  }
  const std::atomic<bool> stop{false};
  for (auto _ : state) {
    std::atomic<std::int64_t> done{0};
    benchmark::DoNotOptimize(
        ComputeDistanceTable(job, static_cast<int>(state.range(0)), stop, done));
  }
}
BENCHMARK(BM_ThirtyByThirty)->Arg(2)->Unit(benchmark::kSecond)->Iterations(1)->UseRealTime();

// A million random re-pairings of a 30-line list, two forms a side (four pairs a combination).
void BM_MillionPermutations(benchmark::State& state) {
  std::vector<CombinationSummary> cells(30 * 30);
  SplitMix64 random(7);
  for (CombinationSummary& cell : cells) {
    cell.defined = 4;
    cell.small = static_cast<std::int64_t>(random.Below(3));
    cell.log_product = -static_cast<double>(random.Below(1000)) / 100.0;
  }
  const PermutationTest test(cells, 30);
  for (auto _ : state) {
    benchmark::DoNotOptimize(
        test.Run(1000000, 1, TieRule::kAgainst, [](std::int64_t) { return true; }));
  }
}
BENCHMARK(BM_MillionPermutations)->Unit(benchmark::kSecond)->Iterations(1);

}  // namespace
}  // namespace quorel

BENCHMARK_MAIN();
