// SPDX-License-Identifier: GPL-3.0-or-later
// quorel-escape-bench: the cost of one poll of the Escape key on the X display of $DISPLAY, as
// the window makes it, beside a poll that asks the server for its keymap (a round trip).
#include <xcb/xcb.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>

#include "ui/x11_escape_key.h"

namespace {

template <typename Poll>
double MicrosecondsPerPoll(int polls, Poll poll) {
  const auto start = std::chrono::steady_clock::now();
  for (int k = 0; k < polls; ++k) {
    poll();
  }
  const std::chrono::duration<double, std::micro> spent = std::chrono::steady_clock::now() - start;
  return spent.count() / polls;
}

}  // namespace

int main() {
  const std::unique_ptr<quorel::EscapeKey> escape = quorel::ConnectX11EscapeKey();
  xcb_connection_t* connection = xcb_connect(nullptr, nullptr);
  if (escape == nullptr || xcb_connection_has_error(connection) != 0) {
    std::fputs("quorel-escape-bench: no X display\n", stderr);
    return 2;
  }
  int down = 0;
  const double raw = MicrosecondsPerPoll(300000, [&] { down += escape->IsDown() ? 1 : 0; });
  const double keymap = MicrosecondsPerPoll(20000, [&] {
    std::free(xcb_query_keymap_reply(connection, xcb_query_keymap(connection), nullptr));
  });
  xcb_disconnect(connection);
  std::printf(
      "escape poll: %.3f us (raw key events); keymap round trip: %.1f us; "
      "over 30480 skips: %.3f s against %.2f s\n",
      raw, keymap, raw * 30480 / 1e6, keymap * 30480 / 1e6);
  return down > 0 ? 1 : 0;
}
