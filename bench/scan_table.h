// SPDX-License-Identifier: GPL-3.0-or-later
// A console reporter that also keeps each benchmark's time and counters, and prints the table
// of the scan benchmarks when all have run: direct against fast time and their ratio per word,
// both reading directions against one, preparation against one direct skip, and the heap a fast
// run holds.
#pragma once

#include <benchmark/benchmark.h>

#include <map>
#include <string>
#include <vector>

namespace quorel::bench {

class ScanTableReporter : public benchmark::ConsoleReporter {
 public:
  // `words` are the labels that follow "direct/", "fast/", ... in the benchmark names. Colours
  // only for a terminal, so that the table reads well in a log.
  ScanTableReporter(std::vector<std::string> words, bool colour)
      : ConsoleReporter(colour ? OO_ColorTabular : OO_Tabular), words_(std::move(words)) {}

  void ReportRuns(const std::vector<Run>& runs) override;
  void Finalize() override;

 private:
  struct Result {
    double cpu_seconds = 0;  // the least over repetitions
    std::map<std::string, double> counters;
  };

  const Result* Find(const std::string& name) const;
  void PrintRangeTable() const;
  void PrintBothDirections() const;
  void PrintPreparation() const;

  std::vector<std::string> words_;
  std::map<std::string, Result> results_;
};

}  // namespace quorel::bench
