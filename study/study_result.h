// What the controls of a study gave, kept so that parts of a study run apart (shards) add up to
// exactly what one run gives: every control's value is kept as a whole number under its index,
// and every figure of the report is computed from the values in index order. Merging is then a
// union of disjoint sets of indices, and the same controls give the same bytes however they
// were split.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <utility>
#include <vector>

namespace quorel {

// One control's value: a whole number, or none (e.g. a pair study's control text in which the
// two words never both occur).
using ControlValue = std::optional<std::int64_t>;

struct IndexedValue {
  std::int64_t index = 0;
  ControlValue value;

  friend bool operator==(const IndexedValue&, const IndexedValue&) = default;
};

struct ControlResults {
  std::int64_t total = 0;            // the study's number of controls, N
  std::vector<IndexedValue> values;  // the controls done, in increasing order of index

  bool Complete() const { return static_cast<std::int64_t>(values.size()) == total; }
  friend bool operator==(const ControlResults&, const ControlResults&) = default;
};

// Adds `part` to `into`. Fails, with one sentence in `failure`, when the totals differ or a
// control index lies in both.
bool MergeControlResults(ControlResults& into, const ControlResults& part, std::string& failure);

// The spread of the values done. A value of none counts as larger than any number; min, median
// and max are none when they fall on such a value or when no control was done.
struct ControlSpread {
  std::int64_t controls = 0;      // the controls done
  std::int64_t with_value = 0;    // those with a value
  double mean = 0;                // over those with a value
  double standard_deviation = 0;  // sample (divisor count - 1), over those with a value
  ControlValue min;
  ControlValue median;  // the ceil(controls / 2)-th smallest
  ControlValue max;
};

ControlSpread SpreadOf(const ControlResults& results);

}  // namespace quorel
