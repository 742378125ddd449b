// SPDX-License-Identifier: GPL-3.0-or-later
#include "display_check.h"

#include <cstdlib>
#include <string_view>

#ifdef QUOREL_HAVE_XCB
#include <xcb/xcb.h>
#endif

namespace quorel {
namespace {

bool IsSet(const char* name) {
  const char* value = std::getenv(name);
  return value != nullptr && *value != '\0';
}

// Whether the X server named by $DISPLAY accepts a client. Without xcb the toolkit is trusted.
bool X11DisplayAnswers() {
#ifdef QUOREL_HAVE_XCB
  xcb_connection_t* connection = xcb_connect(nullptr, nullptr);
  const bool answers = xcb_connection_has_error(connection) == 0;
  xcb_disconnect(connection);
  return answers;
#else
  return true;
#endif
}

constexpr char kNoDisplay[] =
    "quorel: the window needs a graphical display, and none was found (DISPLAY and "
    "WAYLAND_DISPLAY are not set); quorel-search searches without one.";

}  // namespace

std::optional<std::string> MissingDisplay() {
  const char* platform = std::getenv("QT_QPA_PLATFORM");
  const bool x11_asked = platform != nullptr && std::string_view(platform).starts_with("xcb");
  if ((IsSet("QT_QPA_PLATFORM") && !x11_asked) || (!x11_asked && IsSet("WAYLAND_DISPLAY"))) {
    return std::nullopt;
  }
  if (!IsSet("DISPLAY")) {
    return kNoDisplay;
  }
  if (!X11DisplayAnswers()) {
    return "quorel: the window needs a graphical display, and the one named by DISPLAY (" +
           std::string(std::getenv("DISPLAY")) +
           ") does not answer; quorel-search searches without one.";
  }
  return std::nullopt;
}

}  // namespace quorel
