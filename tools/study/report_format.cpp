#include "tools/study/report_format.h"

#include <cstdio>

namespace quorel {

std::string FormatReal(double value, int digits) {
  char text[64];
  std::snprintf(text, sizeof text, "%.*g", digits, value);
  return text;
}

std::string FormatFixed(double value, int decimals) {
  char text[400];
  std::snprintf(text, sizeof text, "%.*f", decimals, value);
  return text;
}

std::string FormatValue(const ControlValue& value, const std::string& none) {
  return value ? std::to_string(*value) : none;
}

nlohmann::json ValueJson(const ControlValue& value) {
  return value ? nlohmann::json(*value) : nlohmann::json(nullptr);
}

std::string FormatPValue(const PValue& p, const std::string& as_extreme) {
  return "rank " + std::to_string(p.rank) + " of " + std::to_string(p.controls + 1) +
         ", p = " + FormatReal(p.p) + " (" + std::to_string(p.as_extreme) + " controls " +
         as_extreme + ")";
}

std::string FormatSkips(std::int64_t min, std::int64_t max, bool both) {
  return std::string("skips ") + (both ? "\u00B1" : "") + std::to_string(min) + ".." +
         std::to_string(max);
}

std::string FormatControls(const nlohmann::json& setup, std::int64_t done) {
  return std::to_string(done) + " " + setup.at("kind").get<std::string>() +
         "-shuffled controls (seed " + std::to_string(setup.at("seed").get<std::uint64_t>()) +
         (setup.at("fold_finals").get<bool>() ? ", final forms folded" : "") + ")";
}

}  // namespace quorel
