// A study's controls split into M equal parts, so that parts can run on different machines and
// be merged afterwards. Part K of M (1 <= K <= M) holds the control indices from
// floor(N * (K - 1) / M) up to, not including, floor(N * K / M).
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace quorel {

struct Shard {
  std::int64_t part = 1;   // K
  std::int64_t parts = 1;  // M

  friend bool operator==(const Shard&, const Shard&) = default;
};

// The control indices first .. end - 1.
struct ControlRange {
  std::int64_t first = 0;
  std::int64_t end = 0;

  std::int64_t Size() const { return end - first; }
  friend bool operator==(const ControlRange&, const ControlRange&) = default;
};

// Reads "K/M"; on a bad text gives nothing and says why in `failure`.
std::optional<Shard> ParseShard(std::string_view text, std::string& failure);

ControlRange ShardRange(Shard shard, std::int64_t controls);

}  // namespace quorel
