// SPDX-License-Identifier: GPL-3.0-or-later
// Writing a whole buffer to a file descriptor, as every program here writes its output.
#pragma once

#include <unistd.h>

#include <cerrno>
#include <string_view>

namespace quorel {

// Writes all of `bytes`, resuming after a signal and after a partial write; gives errno or 0.
inline int WriteAll(int descriptor, std::string_view bytes) {
  while (!bytes.empty()) {
    const ssize_t written = write(descriptor, bytes.data(), bytes.size());
    if (written < 0) {
      if (errno == EINTR) {
        continue;
      }
      return errno;
    }
    bytes.remove_prefix(static_cast<std::size_t>(written));
  }
  return 0;
}

}  // namespace quorel
