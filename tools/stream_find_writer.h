// SPDX-License-Identifier: GPL-3.0-or-later
// What every output of quorel-search that writes finds to a stream shares: whole finds, a flush
// once per skip that had finds, and the stream's first failure as the sink's.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string_view>

#include "output_stream.h"
#include "search/find_sink.h"

namespace quorel {

class StreamFindWriter : public FindSink {
 public:
  // Once per skip with finds, what was written reaches a reader without waiting for more.
  void SkipDone(std::int32_t /*skip*/, std::int64_t /*start_positions*/,
                std::size_t finds) override {
    if (finds > 0) {
      out_.Flush();
    }
  }
  bool Failed() const override { return out_.Failed(); }

 protected:
  explicit StreamFindWriter(OutputStream& out) : out_(out) {}

  // Writes one find's whole text; false once the stream has failed, which stops the run.
  bool WriteFind(std::string_view text) {
    out_.Write(text);
    return !out_.Failed();
  }

  OutputStream& out_;
};

}  // namespace quorel
