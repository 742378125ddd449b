// A study's partial result: what one shard (or one whole run) found, in a file that
// `quorel-study merge` adds up. JSON, one object:
//
//   {"format": "quorel-study partial", "version": 1,
//    "study": "count",                       the kind of study, which names its report
//    "setup": {...},                         everything that must agree for parts to merge
//    "real": {...},                          what the real text gave
//    "controls": N, "shard": "K/M", "first": a, "end": b,
//    "values": [[index, value], ...]}        value: a whole number or null
//
// The values are the controls actually done, so an interrupted shard writes what it did and the
// merge says what is missing.
#pragma once

#include <cstdio>
#include <filesystem>
#include <optional>
#include <string>

#include <nlohmann/json.hpp>

#include "study/shard.h"
#include "study/study_result.h"

namespace quorel {

struct StudyPartial {
  std::string study;
  nlohmann::json setup;
  nlohmann::json real;
  Shard shard;
  ControlRange range;
  ControlResults controls;
};

nlohmann::json PartialToJson(const StudyPartial& partial);

// Reads one partial; on failure gives nothing and one sentence (naming the file) in `failure`.
std::optional<StudyPartial> ReadPartial(const std::filesystem::path& file, std::string& failure);

// Adds `part` to `into`: same study and setup, no control twice.
bool MergePartial(StudyPartial& into, const StudyPartial& part, std::string& failure);

}  // namespace quorel
