// SPDX-License-Identifier: GPL-3.0-or-later
#include "output_stream.h"

#include "tools/write_all.h"

#include <fcntl.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>

namespace quorel {
namespace {

// Large enough that a write per buffer costs little, small enough that a reader of a pipe sees
// finds soon.
constexpr std::size_t kBufferSize = std::size_t{1} << 16;

}  // namespace

OutputStream::OutputStream(int descriptor, std::string what)
    : descriptor_(descriptor), what_(std::move(what)) {
  // A closed descriptor would be handed to the next file the program opens: refuse it now.
  if (fcntl(descriptor_, F_GETFD) < 0) {
    error_ = errno;
  }
  buffer_.reserve(kBufferSize);
}

OutputStream::~OutputStream() {
  Flush();
}

void OutputStream::Write(std::string_view piece) {
  if (Failed()) {
    return;
  }
  buffer_.append(piece);
  if (buffer_.size() >= kBufferSize) {
    Flush();
  }
}

bool OutputStream::Flush() {
  if (!Failed() && !buffer_.empty()) {
    if (before_write_) {
      before_write_();
    }
    error_ = WriteAll(descriptor_, buffer_);
  }
  buffer_.clear();
  return !Failed();
}

std::string OutputStream::FailureSentence() const {
  if (!Failed()) {
    return {};
  }
  const std::string cause = error_ == EBADF ? "it is closed" : std::strerror(error_);
  return "Could not write " + what_ + " to standard output: " + cause + ".";
}

}  // namespace quorel
