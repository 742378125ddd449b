// The skips a study searches: every skip from `min` to `max`, and with `both` also every skip
// from -max to -min (the word read backwards through the text).
#pragma once

#include <cstdint>

namespace quorel {

struct StudySkips {
  std::int32_t min = 1;
  std::int32_t max = 1;
  bool both = false;

  friend bool operator==(const StudySkips&, const StudySkips&) = default;
};

}  // namespace quorel
