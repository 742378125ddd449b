#include "study/shard.h"

#include <charconv>

namespace quorel {
namespace {

bool ReadWhole(std::string_view text, std::int64_t& value) {
  const char* end = text.data() + text.size();
  const auto [stop, error] = std::from_chars(text.data(), end, value);
  return !text.empty() && error == std::errc() && stop == end;
}

}  // namespace

std::optional<Shard> ParseShard(std::string_view text, std::string& failure) {
  const std::size_t slash = text.find('/');
  Shard shard;
  if (slash == std::string_view::npos || !ReadWhole(text.substr(0, slash), shard.part) ||
      !ReadWhole(text.substr(slash + 1), shard.parts)) {
    failure = "--shard wants K/M, two whole numbers such as 2/8, not \"" + std::string(text) + "\"";
    return std::nullopt;
  }
  if (shard.parts < 1 || shard.part < 1 || shard.part > shard.parts) {
    failure = "--shard " + std::string(text) + ": K must be from 1 to M";
    return std::nullopt;
  }
  return shard;
}

ControlRange ShardRange(Shard shard, std::int64_t controls) {
  // N * K fits: N is at most 10^12 and M at most N (see the program's limits).
  return {controls * (shard.part - 1) / shard.parts, controls * shard.part / shard.parts};
}

}  // namespace quorel
