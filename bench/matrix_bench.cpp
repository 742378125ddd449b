// SPDX-License-Identifier: GPL-3.0-or-later
// Times opening a matrix on the real text: reading the data file, preparing the text for
// matrices, building the matrix of a find with five other words, and drawing it, for skips
// whose rows are shown whole and skips whose rows show 60 of thousands of columns.
//
//   quorel_matrix_bench [--text=FILE] [benchmark options]
//
// FILE is the real data file (default: Quorel.DSF in the shared data folder that CMake knows).
#include <benchmark/benchmark.h>

#include <QGuiApplication>
#include <QImage>
#include <QPainter>
#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

#include "matrix/matrix.h"
#include "matrix_draw/matrix_export.h"
#include "matrix_draw/matrix_picture.h"
#include "scan/directional_scanner.h"
#include "text/letter_text.h"

namespace quorel::bench {
namespace {

std::string g_text_file = QUOREL_SHARED_DATA "/Quorel.DSF";

// תורה, the find's word, and five words beside it: אלהימ משה ישראל אור ברית.
const std::u16string kWord = u"\u05EA\u05D5\u05E8\u05D4";
const std::vector<std::u16string> kOthers = {
    u"\u05D0\u05DC\u05D4\u05D9\u05DE", u"\u05DE\u05E9\u05D4", u"\u05D9\u05E9\u05E8\u05D0\u05DC",
    u"\u05D0\u05D5\u05E8", u"\u05D1\u05E8\u05D9\u05EA"};

const LetterText& Text() {
  static const LetterText text = [] {
    LoadResult load = LoadLetterText(g_text_file);
    if (!load.text) {
      std::fprintf(stderr, "%s\n", load.failure.c_str());
      std::exit(1);
    }
    return std::move(*load.text);
  }();
  return text;
}

const MatrixText& Prepared() {
  static const MatrixText text(Text().FileLetters());
  return text;
}

// The first find of the word at `skip` or the next skips of the same sign.
MatrixRequest RequestNear(std::int32_t skip, std::int32_t width = 0) {
  const DirectionalScanner scanner(Prepared().Folded(), kWord);
  std::vector<std::int32_t> finds;
  const std::int32_t step = skip > 0 ? 1 : -1;
  for (std::int32_t s = skip;; s += step) {
    scanner.FindsAtSkip(s, finds);
    if (!finds.empty()) {
      MatrixRequest request;
      request.word = kWord;
      request.find = {s, finds[finds.size() / 2], static_cast<std::int32_t>(kWord.size())};
      request.row_width = width;
      request.other_words = kOthers;
      return request;
    }
  }
}

void LoadDataFile(benchmark::State& state) {
  for (auto _ : state) {
    LoadResult load = LoadLetterText(g_text_file);
    benchmark::DoNotOptimize(load.text);
  }
}
BENCHMARK(LoadDataFile)->Unit(benchmark::kMillisecond);

void PrepareText(benchmark::State& state) {
  for (auto _ : state) {
    MatrixText text(Text().FileLetters());
    benchmark::DoNotOptimize(text.Folded().data());
  }
}
BENCHMARK(PrepareText)->Unit(benchmark::kMillisecond);

void BuildWithFiveWords(benchmark::State& state, std::int32_t skip, std::int32_t split) {
  MatrixRequest request = RequestNear(skip);
  if (split > 1) {
    request.row_width = SplitRowWidth(request.find.skip, split);
  }
  std::size_t marked = 0;
  for (auto _ : state) {
    const Matrix matrix = BuildMatrix(Prepared(), request);
    marked = 0;
    for (std::size_t k = 1; k < matrix.words.size(); ++k) {
      marked += matrix.words[k].finds.size();
    }
    benchmark::DoNotOptimize(marked);
  }
  state.counters["skip"] = request.find.skip;
  state.counters["other_finds"] = static_cast<double>(marked);
}
BENCHMARK_CAPTURE(BuildWithFiveWords, skip_7, 7, 1)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BuildWithFiveWords, skip_minus_50, -50, 1)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BuildWithFiveWords, skip_1000, 1000, 1)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BuildWithFiveWords, skip_1000_split_3, 1000, 3)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BuildWithFiveWords, skip_20000, 20000, 1)->Unit(benchmark::kMillisecond);

void DrawPicture(benchmark::State& state, std::int32_t skip) {
  const Matrix matrix = BuildMatrix(Prepared(), RequestNear(skip));
  for (auto _ : state) {
    QImage image = MatrixImage(matrix);
    benchmark::DoNotOptimize(image.bits());
  }
}
BENCHMARK_CAPTURE(DrawPicture, skip_7, 7)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(DrawPicture, skip_1000, 1000)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(DrawPicture, skip_20000, 20000)->Unit(benchmark::kMillisecond);

// The whole of opening a matrix window's picture, as its worker and its first paint do it.
void OpenMatrix(benchmark::State& state, std::int32_t skip) {
  const MatrixRequest request = RequestNear(skip);
  for (auto _ : state) {
    LoadResult load = LoadLetterText(g_text_file);
    const MatrixText text(load.text->FileLetters());
    const Matrix matrix = BuildMatrix(text, request);
    QImage image = MatrixImage(matrix);
    benchmark::DoNotOptimize(image.bits());
  }
}
BENCHMARK_CAPTURE(OpenMatrix, skip_7, 7)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(OpenMatrix, skip_minus_50, -50)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(OpenMatrix, skip_1000, 1000)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(OpenMatrix, skip_20000, 20000)->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace quorel::bench

int main(int argc, char** argv) {
  for (int k = 1; k < argc; ++k) {
    if (std::strncmp(argv[k], "--text=", 7) == 0) {
      quorel::bench::g_text_file = argv[k] + 7;
    }
  }
  qputenv("QT_QPA_PLATFORM", "offscreen");
  int toolkit_argc = 1;
  QGuiApplication toolkit(toolkit_argc, argv);
  benchmark::Initialize(&argc, argv);
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  return 0;
}
