// SPDX-License-Identifier: GPL-3.0-or-later
#include "scan_table.h"

#include <cstdio>

namespace quorel::bench {
namespace {

std::string Ratio(double slow, double fast) {
  char text[32];
  std::snprintf(text, sizeof text, "%.0fx", fast > 0 ? slow / fast : 0.0);
  return text;
}

}  // namespace

void ScanTableReporter::ReportRuns(const std::vector<Run>& runs) {
  ConsoleReporter::ReportRuns(runs);
  for (const Run& run : runs) {
    if (run.run_type != Run::RT_Iteration || run.error_occurred) {
      continue;
    }
    const double seconds =
        run.GetAdjustedCPUTime() / benchmark::GetTimeUnitMultiplier(run.time_unit);
    const std::string name = run.run_name.function_name;
    auto [entry, added] = results_.try_emplace(name);
    if (added || seconds < entry->second.cpu_seconds) {
      entry->second.cpu_seconds = seconds;
    }
    for (const auto& [counter, value] : run.counters) {
      entry->second.counters[counter] = value.value;
    }
  }
}

const ScanTableReporter::Result* ScanTableReporter::Find(const std::string& name) const {
  const auto entry = results_.find(name);
  return entry == results_.end() ? nullptr : &entry->second;
}

void ScanTableReporter::Finalize() {
  ConsoleReporter::Finalize();
  PrintRangeTable();
  PrintBothDirections();
  PrintPreparation();
}

void ScanTableReporter::PrintRangeTable() const {
  std::printf("\nWhole skip range 1..30490 on the real text, CPU time on one core\n");
  std::printf("%-10s %10s %11s %11s %8s %14s %8s %10s\n", "word", "finds", "direct s", "fast ms",
              "ratio", "portable ms", "ratio", "heap KB");
  for (const std::string& word : words_) {
    const Result* direct = Find("direct/" + word);
    const Result* fast = Find("fast/" + word);
    const Result* portable = Find("fast_portable/" + word);
    if (direct == nullptr || fast == nullptr) {
      continue;
    }
    const double finds = fast->counters.count("finds") ? fast->counters.at("finds") : 0;
    const double direct_finds = direct->counters.count("finds") ? direct->counters.at("finds") : -1;
    std::printf("%-10s %10.0f %11.2f %11.1f %8s %14.1f %8s %10.0f%s\n", word.c_str(), finds,
                direct->cpu_seconds, fast->cpu_seconds * 1e3,
                Ratio(direct->cpu_seconds, fast->cpu_seconds).c_str(),
                portable ? portable->cpu_seconds * 1e3 : 0.0,
                portable ? Ratio(direct->cpu_seconds, portable->cpu_seconds).c_str() : "-",
                fast->counters.count("heap_bytes") ? fast->counters.at("heap_bytes") / 1024 : 0.0,
                finds == direct_finds ? "" : "  FINDS DIFFER");
  }
}

void ScanTableReporter::PrintBothDirections() const {
  std::printf(
      "\nBoth reading directions (--both: skips -30490..-1 and 1..30490) against one direction, "
      "fast scan, CPU time on one core\n");
  std::printf("%-10s %10s %11s %10s %11s %8s\n", "word", "finds", "one way ms", "finds", "both ms",
              "both/one");
  for (const std::string& word : words_) {
    const Result* one = Find("fast/" + word);
    const Result* both = Find("fast_both/" + word);
    if (one == nullptr || both == nullptr) {
      continue;
    }
    char ratio[32];
    std::snprintf(ratio, sizeof ratio, "%.2fx",
                  one->cpu_seconds > 0 ? both->cpu_seconds / one->cpu_seconds : 0.0);
    std::printf("%-10s %10.0f %11.1f %10.0f %11.1f %8s\n", word.c_str(),
                one->counters.count("finds") ? one->counters.at("finds") : 0,
                one->cpu_seconds * 1e3,
                both->counters.count("finds") ? both->counters.at("finds") : 0,
                both->cpu_seconds * 1e3, ratio);
  }
}

void ScanTableReporter::PrintPreparation() const {
  std::printf("\nPreparation of a fast run against one direct skip (skip 1), CPU time\n");
  std::printf("%-10s %14s %16s %8s\n", "word", "prepare us", "direct skip us", "ratio");
  for (const std::string& word : words_) {
    const Result* prepare = Find("prepare/" + word);
    const Result* skip = Find("direct_skip_1/" + word);
    if (prepare == nullptr || skip == nullptr) {
      continue;
    }
    std::printf("%-10s %14.1f %16.1f %8s\n", word.c_str(), prepare->cpu_seconds * 1e6,
                skip->cpu_seconds * 1e6, Ratio(skip->cpu_seconds, prepare->cpu_seconds).c_str());
  }
}

}  // namespace quorel::bench
