#include "study/study_result.h"

#include <algorithm>
#include <cmath>
#include <iterator>

namespace quorel {
namespace {

// None sorts after every number.
bool Smaller(const ControlValue& a, const ControlValue& b) {
  if (!a) {
    return false;
  }
  return !b || *a < *b;
}

}  // namespace

bool MergeControlResults(ControlResults& into, const ControlResults& part, std::string& failure) {
  if (into.total != part.total) {
    failure = "the parts are of studies of different sizes (" + std::to_string(into.total) +
              " and " + std::to_string(part.total) + " controls)";
    return false;
  }
  std::vector<IndexedValue> merged;
  merged.reserve(into.values.size() + part.values.size());
  const auto by_index = [](const IndexedValue& a, const IndexedValue& b) {
    return a.index < b.index;
  };
  std::merge(into.values.begin(), into.values.end(), part.values.begin(), part.values.end(),
             std::back_inserter(merged), by_index);
  const auto twice = std::adjacent_find(
      merged.begin(), merged.end(),
      [](const IndexedValue& a, const IndexedValue& b) { return a.index == b.index; });
  if (twice != merged.end()) {
    failure = "control " + std::to_string(twice->index) + " lies in two parts";
    return false;
  }
  into.values = std::move(merged);
  return true;
}

ControlSpread SpreadOf(const ControlResults& results) {
  ControlSpread spread;
  spread.controls = static_cast<std::int64_t>(results.values.size());
  std::vector<ControlValue> sorted;
  sorted.reserve(results.values.size());
  double sum = 0;
  for (const IndexedValue& v : results.values) {
    sorted.push_back(v.value);
    if (v.value) {
      ++spread.with_value;
      sum += static_cast<double>(*v.value);
    }
  }
  if (spread.with_value > 0) {
    spread.mean = sum / static_cast<double>(spread.with_value);
  }
  if (spread.with_value > 1) {
    double squares = 0;
    for (const IndexedValue& v : results.values) {
      if (v.value) {
        const double d = static_cast<double>(*v.value) - spread.mean;
        squares += d * d;
      }
    }
    spread.standard_deviation = std::sqrt(squares / static_cast<double>(spread.with_value - 1));
  }
  if (sorted.empty()) {
    return spread;
  }
  std::sort(sorted.begin(), sorted.end(), Smaller);
  spread.min = sorted.front();
  spread.median = sorted[(sorted.size() + 1) / 2 - 1];
  spread.max = sorted.back();
  return spread;
}

}  // namespace quorel
