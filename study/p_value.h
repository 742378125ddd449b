// The p-value of a control study: how often texts that keep the real text's letters but not
// their order do at least as well as the real text.
//
//   p = (1 + the number of controls at least as extreme as the real text) / (N + 1)
//
// with N the controls done. Counting the real text among the texts compared is what keeps p from
// ever being 0: with N controls no p below 1 / (N + 1) can be claimed.
#pragma once

#include <cstdint>

#include "study/study_result.h"

namespace quorel {

enum class Extreme {
  kMore,  // at least as many (finds): a control value >= the real one
  kLess,  // at most as small (proximity): a control value <= the real one; none is the largest
};

struct PValue {
  std::int64_t controls = 0;      // N
  std::int64_t as_extreme = 0;    // controls at least as extreme as the real text
  std::int64_t more_extreme = 0;  // controls strictly more extreme
  std::int64_t rank = 1;          // 1 + more_extreme: the real text's place, 1 = no control beat it
  double p = 1;
};

PValue PValueOf(const ControlValue& real, const ControlResults& controls, Extreme extreme);

}  // namespace quorel
