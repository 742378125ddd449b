#include "study/p_value.h"

namespace quorel {
namespace {

// -1, 0 or 1 as a is smaller than, equal to or larger than b; none is larger than any number.
int Compare(const ControlValue& a, const ControlValue& b) {
  if (!a || !b) {
    return (a ? 0 : 1) - (b ? 0 : 1);
  }
  return *a < *b ? -1 : (*a > *b ? 1 : 0);
}

}  // namespace

PValue PValueOf(const ControlValue& real, const ControlResults& controls, Extreme extreme) {
  PValue result;
  result.controls = static_cast<std::int64_t>(controls.values.size());
  for (const IndexedValue& control : controls.values) {
    int order = Compare(control.value, real);
    if (extreme == Extreme::kLess) {
      order = -order;
    }
    if (order >= 0) {
      ++result.as_extreme;
    }
    if (order > 0) {
      ++result.more_extreme;
    }
  }
  result.rank = 1 + result.more_extreme;
  result.p = static_cast<double>(1 + result.as_extreme) / static_cast<double>(result.controls + 1);
  return result;
}

}  // namespace quorel
