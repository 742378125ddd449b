// SPDX-License-Identifier: GPL-3.0-or-later
// Standard output for the finds of a run: whole finds only, every write carried through to its
// end, and the first failure kept so that the run stops at once and says why.
#pragma once

#include <functional>
#include <string>
#include <string_view>

namespace quorel {

class OutputStream {
 public:
  // `what` names what goes out, for the failure sentence ("the result text").
  OutputStream(int descriptor, std::string what);
  ~OutputStream();
  OutputStream(const OutputStream&) = delete;
  OutputStream& operator=(const OutputStream&) = delete;

  // Called before every write to the descriptor, e.g. to clear a progress line on a terminal.
  void BeforeWrite(std::function<void()> hook) { before_write_ = std::move(hook); }

  // Buffers `piece`, one or more whole finds, and writes the buffer once it is large. Does
  // nothing once a write has failed.
  void Write(std::string_view piece);
  // Writes out what is buffered. False once any write has failed.
  bool Flush();
  bool Failed() const { return error_ != 0; }
  // "Could not write WHAT to standard output: CAUSE." (an empty string when nothing failed).
  std::string FailureSentence() const;

 private:
  int descriptor_;
  std::string what_;
  std::string buffer_;
  int error_ = 0;  // errno of the first failed write
  std::function<void()> before_write_;
};

}  // namespace quorel
