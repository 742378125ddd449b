// Small pieces of the one-line reports, written the same way by every study.
#pragma once

#include <cstdint>
#include <string>

#include <nlohmann/json.hpp>

#include "study/p_value.h"
#include "study/study_result.h"

namespace quorel {

// A real number with up to `digits` significant digits ("%.*g").
std::string FormatReal(double value, int digits = 4);
// A real number with `decimals` digits after the point ("%.*f").
std::string FormatFixed(double value, int decimals = 1);
// A whole number, or `none` when there is none.
std::string FormatValue(const ControlValue& value, const std::string& none = "none");
nlohmann::json ValueJson(const ControlValue& value);
// "rank R of N + 1, p = P (A controls SO_WHAT)"
std::string FormatPValue(const PValue& p, const std::string& as_extreme);
// "skips 2..1000" or "skips ±2..1000".
std::string FormatSkips(std::int64_t min, std::int64_t max, bool both);
// "1000 letter-shuffled controls (seed 1)".
std::string FormatControls(const nlohmann::json& setup, std::int64_t done);

}  // namespace quorel
