// SPDX-License-Identifier: GPL-3.0-or-later
#include "tools/study/pair_list.h"

#include "tools/study/distance_text.h"
#include "tools/study/study_run.h"

namespace quorel {
namespace {

std::vector<std::string_view> SplitOn(std::string_view text, std::string_view separators) {
  std::vector<std::string_view> parts;
  std::size_t at = 0;
  while (at <= text.size()) {
    const std::size_t end = std::min(text.find_first_of(separators, at), text.size());
    parts.push_back(text.substr(at, end - at));
    at = end + 1;
  }
  return parts;
}

std::vector<std::string_view> Fields(std::string_view line) {
  std::vector<std::string_view> fields;
  for (const std::string_view part : SplitOn(line, " \t\r")) {
    if (!part.empty()) {
      fields.push_back(part);
    }
  }
  return fields;
}

bool ParseSide(std::string_view side, std::vector<std::u16string>& forms, std::string& failure) {
  for (const std::string_view form : SplitOn(side, "/")) {
    try {
      forms.push_back(DistanceWord(std::string(form)));
    } catch (const StudyFailure& refused) {
      failure = refused.message;
      return false;
    }
  }
  return true;
}

}  // namespace

std::optional<std::vector<PairLine>> ParsePairList(std::string_view text, std::string& failure) {
  std::vector<PairLine> pairs;
  int line_number = 0;
  for (std::string_view line : SplitOn(text, "\n")) {
    ++line_number;
    line = line.substr(0, line.find('#'));
    const std::vector<std::string_view> fields = Fields(line);
    if (fields.empty()) {
      continue;
    }
    const std::string where = "line " + std::to_string(line_number) + ": ";
    if (fields.size() != 2) {
      failure = where + "a pair is two sides apart by blanks, each one word or forms apart by /";
      return std::nullopt;
    }
    PairLine pair;
    pair.line_number = line_number;
    if (!ParseSide(fields[0], pair.first, failure) || !ParseSide(fields[1], pair.second, failure)) {
      failure = where + failure;
      return std::nullopt;
    }
    pairs.push_back(std::move(pair));
  }
  if (pairs.empty()) {
    failure = "the list holds no pairs";
    return std::nullopt;
  }
  return pairs;
}

}  // namespace quorel
