#include "tools/study/partial_file.h"

#include <fstream>
#include <sstream>

namespace quorel {
namespace {

constexpr char kFormat[] = "quorel-study partial";
constexpr int kVersion = 1;

std::optional<ControlResults> ControlsFromJson(const nlohmann::json& object) {
  ControlResults results;
  results.total = object.at("controls").get<std::int64_t>();
  const nlohmann::json& values = object.at("values");
  if (!values.is_array() || results.total < 0) {
    return std::nullopt;
  }
  for (const nlohmann::json& pair : values) {
    if (!pair.is_array() || pair.size() != 2 || !pair[0].is_number_integer()) {
      return std::nullopt;
    }
    IndexedValue value;
    value.index = pair[0].get<std::int64_t>();
    if (!pair[1].is_null()) {
      if (!pair[1].is_number_integer()) {
        return std::nullopt;
      }
      value.value = pair[1].get<std::int64_t>();
    }
    if (value.index < 0 || value.index >= results.total ||
        (!results.values.empty() && value.index <= results.values.back().index)) {
      return std::nullopt;
    }
    results.values.push_back(value);
  }
  return results;
}

}  // namespace

nlohmann::json PartialToJson(const StudyPartial& partial) {
  nlohmann::json values = nlohmann::json::array();
  for (const IndexedValue& v : partial.controls.values) {
    values.push_back({v.index, v.value ? nlohmann::json(*v.value) : nlohmann::json(nullptr)});
  }
  return {{"format", kFormat},
          {"version", kVersion},
          {"study", partial.study},
          {"setup", partial.setup},
          {"real", partial.real},
          {"controls", partial.controls.total},
          {"shard", std::to_string(partial.shard.part) + "/" + std::to_string(partial.shard.parts)},
          {"first", partial.range.first},
          {"end", partial.range.end},
          {"values", std::move(values)}};
}

std::optional<StudyPartial> ReadPartial(const std::filesystem::path& file, std::string& failure) {
  const std::string name = file.string();
  std::ifstream in(file, std::ios::binary);
  if (!in) {
    failure = "could not open " + name;
    return std::nullopt;
  }
  const nlohmann::json object = nlohmann::json::parse(in, nullptr, false);
  if (object.is_discarded() || !object.is_object()) {
    failure = name + " is not JSON: not a partial result of quorel-study";
    return std::nullopt;
  }
  if (object.value("format", "") != kFormat) {
    failure = name + " is not a partial result of quorel-study";
    return std::nullopt;
  }
  if (object.value("version", 0) != kVersion) {
    failure = name + " is a partial result of another version of quorel-study";
    return std::nullopt;
  }
  try {
    StudyPartial partial;
    partial.study = object.at("study").get<std::string>();
    partial.setup = object.at("setup");
    partial.real = object.at("real");
    std::string shard_failure;
    const std::optional<Shard> shard =
        ParseShard(object.at("shard").get<std::string>(), shard_failure);
    std::optional<ControlResults> controls = ControlsFromJson(object);
    if (!shard || !controls) {
      failure = name + " holds a damaged partial result";
      return std::nullopt;
    }
    partial.shard = *shard;
    partial.range = {object.at("first").get<std::int64_t>(), object.at("end").get<std::int64_t>()};
    partial.controls = std::move(*controls);
    return partial;
  } catch (const nlohmann::json::exception&) {
    failure = name + " holds a damaged partial result";
    return std::nullopt;
  }
}

bool MergePartial(StudyPartial& into, const StudyPartial& part, std::string& failure) {
  if (into.study != part.study || into.setup != part.setup || into.real != part.real) {
    failure =
        "the parts are not of the same study (a different study, word, skip range, text, "
        "kind, seed or number of controls)";
    return false;
  }
  if (!MergeControlResults(into.controls, part.controls, failure)) {
    return false;
  }
  into.range = {std::min(into.range.first, part.range.first),
                std::max(into.range.end, part.range.end)};
  into.shard = {1, 1};
  return true;
}

}  // namespace quorel
