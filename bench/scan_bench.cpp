// SPDX-License-Identifier: GPL-3.0-or-later
// Times the scan over the whole skip range on the real text: the direct scan against the fast
// scan, for a 2-, a 4- and a 7-letter word, measured in the same run, and the fast scan of both
// reading directions (quorel-search --both) beside the one of one direction; then prints tables.
//
//   quorel_scan_bench [--text=FILE] [benchmark options]
//
// FILE is the real data file (default: Quorel.DSF in the shared data folder that CMake knows).
#include <benchmark/benchmark.h>
#include <unistd.h>

#include <cstdio>
#include <cstring>
#include <map>
#include <string>
#include <vector>

#include "heap_meter.h"
#include "scan/direct_scan.h"
#include "scan/directional_scanner.h"
#include "scan/scanner.h"
#include "scan_table.h"
#include "text/letter_text.h"
#include "text/utf.h"

namespace quorel::bench {
namespace {

// The skip range of the table: every skip that a run can try.
constexpr std::int32_t kFirstSkip = 1;
constexpr std::int32_t kLastSkip = 30490;

struct Word {
  const char* label;
  std::u16string letters;
};

// Prepared targets (final forms already regular): common letters, so finds are many.
const std::vector<Word>& TableWords() {
  static const std::vector<Word> words = {
      {"2_letters", u"\u05D0\u05DC"},                                // אל
      {"4_letters", u"\u05D7\u05D5\u05E4\u05E9"},                    // חופש, the default
      {"7_letters", u"\u05D9\u05E8\u05D5\u05E9\u05DC\u05D9\u05DE"},  // ירושלימ
  };
  return words;
}

std::int64_t ScanRange(const Scanner& scanner, std::vector<std::int32_t>& finds) {
  std::int64_t count = 0;
  for (std::int32_t skip = kFirstSkip; skip <= kLastSkip; ++skip) {
    scanner.FindsAtSkip(skip, finds);
    count += static_cast<std::int64_t>(finds.size());
  }
  return count;
}

void DirectRange(benchmark::State& state, std::u16string_view letters, std::u16string_view word) {
  std::vector<std::int32_t> finds;
  std::int64_t count = 0;
  for (auto _ : state) {
    count = 0;
    for (std::int32_t skip = kFirstSkip; skip <= kLastSkip; ++skip) {
      finds.clear();
      DirectScan(letters, word, skip, finds);
      count += static_cast<std::int64_t>(finds.size());
    }
    benchmark::DoNotOptimize(count);
  }
  state.counters["finds"] = static_cast<double>(count);
}

// Preparation included: a run builds its scanner once and then tries every skip.
void FastRange(benchmark::State& state, std::u16string_view letters, std::u16string_view word,
               ScanKernel kernel) {
  std::int64_t count = 0;
  std::size_t heap = 0;
  for (auto _ : state) {
    const std::size_t before = HeapInUse();
    ResetHeapPeak();
    std::vector<std::int32_t> finds;
    const Scanner scanner(letters, word, kernel);
    count = ScanRange(scanner, finds);
    heap = HeapPeak() - before;
    benchmark::DoNotOptimize(count);
  }
  state.counters["finds"] = static_cast<double>(count);
  state.counters["heap_bytes"] = static_cast<double>(heap);
}

// --both: every skip read backwards and then forwards, as a run orders them, preparation of
// both scans included.
void FastBothRange(benchmark::State& state, std::u16string_view letters, std::u16string_view word) {
  std::int64_t count = 0;
  for (auto _ : state) {
    std::vector<std::int32_t> finds;
    const DirectionalScanner scanner(letters, word);
    count = 0;
    for (std::int32_t skip = kFirstSkip; skip <= kLastSkip; ++skip) {
      scanner.FindsAtSkip(-skip, finds);
      count += static_cast<std::int64_t>(finds.size());
      scanner.FindsAtSkip(skip, finds);
      count += static_cast<std::int64_t>(finds.size());
    }
    benchmark::DoNotOptimize(count);
  }
  state.counters["finds"] = static_cast<double>(count);
}

void Prepare(benchmark::State& state, std::u16string_view letters, std::u16string_view word) {
  for (auto _ : state) {
    const Scanner scanner(letters, word);
    benchmark::DoNotOptimize(&scanner);
  }
}

void DirectSkipOne(benchmark::State& state, std::u16string_view letters, std::u16string_view word) {
  std::vector<std::int32_t> finds;
  for (auto _ : state) {
    finds.clear();
    DirectScan(letters, word, 1, finds);
    benchmark::DoNotOptimize(finds.data());
  }
}

void RegisterAll(std::u16string_view letters) {
  for (const Word& word : TableWords()) {
    const std::string label = word.label;
    benchmark::RegisterBenchmark(("direct/" + label).c_str(), DirectRange, letters, word.letters)
        ->Iterations(1)
        ->Unit(benchmark::kMillisecond);
    benchmark::RegisterBenchmark(("fast/" + label).c_str(), FastRange, letters, word.letters,
                                 BestScanKernel())
        ->Unit(benchmark::kMillisecond);
    benchmark::RegisterBenchmark(("fast_portable/" + label).c_str(), FastRange, letters,
                                 word.letters, ScanKernel::kPortable)
        ->Unit(benchmark::kMillisecond);
    benchmark::RegisterBenchmark(("fast_both/" + label).c_str(), FastBothRange, letters,
                                 word.letters)
        ->Unit(benchmark::kMillisecond);
    benchmark::RegisterBenchmark(("prepare/" + label).c_str(), Prepare, letters, word.letters)
        ->Unit(benchmark::kMicrosecond);
    benchmark::RegisterBenchmark(("direct_skip_1/" + label).c_str(), DirectSkipOne, letters,
                                 word.letters)
        ->Unit(benchmark::kMicrosecond);
  }
  // A target far longer than the text: no skip has a start position.
  static const std::u16string kLongTarget(1'000'000, u'\u05D0');
  benchmark::RegisterBenchmark("fast/1000000_letters", FastRange, letters,
                               std::u16string_view(kLongTarget), BestScanKernel())
      ->Unit(benchmark::kMillisecond);
}

}  // namespace
}  // namespace quorel::bench

int main(int argc, char** argv) {
  std::string text_file = QUOREL_SHARED_DATA "/Quorel.DSF";
  std::vector<char*> arguments;
  for (int k = 0; k < argc; ++k) {
    if (std::strncmp(argv[k], "--text=", 7) == 0) {
      text_file = argv[k] + 7;
    } else {
      arguments.push_back(argv[k]);
    }
  }
  const quorel::LoadResult load = quorel::LoadLetterText(text_file);
  if (!load.text) {
    std::fprintf(stderr, "quorel_scan_bench: %s\n", load.failure.c_str());
    return 2;
  }
  quorel::bench::RegisterAll(load.text->Letters());

  int count = static_cast<int>(arguments.size());
  benchmark::Initialize(&count, arguments.data());
  if (benchmark::ReportUnrecognizedArguments(count, arguments.data())) {
    return 2;
  }
  std::vector<std::string> labels;
  for (const quorel::bench::Word& word : quorel::bench::TableWords()) {
    std::printf("%s: %s\n", word.label, quorel::Utf16ToUtf8(word.letters).c_str());
    labels.push_back(word.label);
  }
  quorel::bench::ScanTableReporter reporter(std::move(labels), isatty(STDOUT_FILENO) != 0);
  benchmark::RunSpecifiedBenchmarks(&reporter);
  benchmark::Shutdown();
  return 0;
}
