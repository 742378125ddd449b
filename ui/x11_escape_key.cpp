// SPDX-License-Identifier: GPL-3.0-or-later
#include "x11_escape_key.h"

#include <xcb/xcb.h>
#include <xcb/xinput.h>

#include <algorithm>
#include <bitset>
#include <cstdlib>
#include <vector>

namespace quorel {
namespace {

constexpr xcb_keysym_t kEscapeKeysym = 0xff1b;  // XK_Escape
constexpr std::size_t kKeycodes = 256;

// Frees what xcb hands over with malloc.
struct FreeDeleter {
  void operator()(void* pointer) const { std::free(pointer); }
};
template <typename T>
using XcbReply = std::unique_ptr<T, FreeDeleter>;

// The keycodes that the keyboard mapping gives the Escape keysym.
std::vector<xcb_keycode_t> EscapeKeycodes(xcb_connection_t* connection) {
  const xcb_setup_t* setup = xcb_get_setup(connection);
  const int count = setup->max_keycode - setup->min_keycode + 1;
  const XcbReply<xcb_get_keyboard_mapping_reply_t> mapping(xcb_get_keyboard_mapping_reply(
      connection,
      xcb_get_keyboard_mapping(connection, setup->min_keycode, static_cast<std::uint8_t>(count)),
      nullptr));
  std::vector<xcb_keycode_t> codes;
  if (!mapping || mapping->keysyms_per_keycode == 0) {
    return codes;
  }
  const xcb_keysym_t* keysyms = xcb_get_keyboard_mapping_keysyms(mapping.get());
  const int length = xcb_get_keyboard_mapping_keysyms_length(mapping.get());
  for (int k = 0; k < length; ++k) {
    if (keysyms[k] == kEscapeKeysym) {
      codes.push_back(
          static_cast<xcb_keycode_t>(setup->min_keycode + k / mapping->keysyms_per_keycode));
    }
  }
  return codes;
}

xcb_window_t RootWindow(xcb_connection_t* connection, int screen) {
  xcb_screen_iterator_t roots = xcb_setup_roots_iterator(xcb_get_setup(connection));
  for (int k = 0; k < screen && roots.rem > 0; ++k) {
    xcb_screen_next(&roots);
  }
  return roots.data->root;
}

// Asks for the raw key events of every keyboard; returns the extension's opcode, or -1 when the
// server has no XInput 2.2 (from 2.1 on, raw events come even while another client grabs).
int SelectRawKeyEvents(xcb_connection_t* connection, xcb_window_t root) {
  const xcb_query_extension_reply_t* extension = xcb_get_extension_data(connection, &xcb_input_id);
  if (extension == nullptr || extension->present == 0) {
    return -1;
  }
  const XcbReply<xcb_input_xi_query_version_reply_t> version(xcb_input_xi_query_version_reply(
      connection, xcb_input_xi_query_version(connection, 2, 2), nullptr));
  if (!version || version->major_version < 2 ||
      (version->major_version == 2 && version->minor_version < 1)) {
    return -1;
  }
  struct {
    xcb_input_event_mask_t head;
    std::uint32_t bits;
  } mask{};
  mask.head.deviceid = XCB_INPUT_DEVICE_ALL_MASTER;
  mask.head.mask_len = 1;
  mask.bits = XCB_INPUT_XI_EVENT_MASK_RAW_KEY_PRESS | XCB_INPUT_XI_EVENT_MASK_RAW_KEY_RELEASE;
  const XcbReply<xcb_generic_error_t> error(xcb_request_check(
      connection, xcb_input_xi_select_events_checked(connection, root, 1, &mask.head)));
  return error ? -1 : extension->major_opcode;
}

class X11EscapeKey final : public EscapeKey {
 public:
  X11EscapeKey(xcb_connection_t* connection, std::vector<xcb_keycode_t> codes, int xi_opcode)
      : connection_(connection), codes_(std::move(codes)), xi_opcode_(xi_opcode) {
    ReadKeymap();
  }
  ~X11EscapeKey() override { xcb_disconnect(connection_); }
  X11EscapeKey(const X11EscapeKey&) = delete;
  X11EscapeKey& operator=(const X11EscapeKey&) = delete;

  bool IsDown() override {
    if (xcb_connection_has_error(connection_) != 0) {
      return false;
    }
    ReadState();
    if (!AnyEscapeDown()) {
      ignored_ = false;
    }
    return AnyEscapeDown() && !ignored_;
  }

  void IgnoreHeldPress() override {
    if (xcb_connection_has_error(connection_) == 0) {
      ReadState();
    }
    ignored_ = AnyEscapeDown();
  }

 private:
  void ReadState() {
    if (xi_opcode_ < 0) {
      ReadKeymap();  // a round trip, only where the server has no raw events
    } else {
      ReadArrivedEvents();
    }
  }

  bool AnyEscapeDown() const {
    for (const xcb_keycode_t code : codes_) {
      if (down_[code]) {
        return true;
      }
    }
    return false;
  }

  // The server's whole key state: one round trip.
  void ReadKeymap() {
    const XcbReply<xcb_query_keymap_reply_t> keymap(
        xcb_query_keymap_reply(connection_, xcb_query_keymap(connection_), nullptr));
    if (!keymap) {
      return;
    }
    for (std::size_t code = 0; code < kKeycodes; ++code) {
      down_[code] = ((keymap->keys[code / 8] >> (code % 8)) & 1) != 0;
    }
  }

  // Takes every event that has reached the socket, without waiting for more.
  void ReadArrivedEvents() {
    while (xcb_generic_event_t* event = xcb_poll_for_event(connection_)) {
      Follow(*event);
      std::free(event);
    }
  }

  void Follow(const xcb_generic_event_t& event) {
    if ((event.response_type & 0x7f) != XCB_GE_GENERIC) {
      return;
    }
    const auto& generic = reinterpret_cast<const xcb_ge_generic_event_t&>(event);
    if (generic.extension != xi_opcode_) {
      return;
    }
    if (generic.event_type == XCB_INPUT_RAW_KEY_PRESS ||
        generic.event_type == XCB_INPUT_RAW_KEY_RELEASE) {
      const auto& raw = reinterpret_cast<const xcb_input_raw_key_press_event_t&>(event);
      if (raw.detail < kKeycodes) {
        down_[raw.detail] = generic.event_type == XCB_INPUT_RAW_KEY_PRESS;
        // A release ends the press that was left out, even if Escape is down again by the
        // next poll.
        if (!down_[raw.detail] && IsEscapeCode(raw.detail)) {
          ignored_ = false;
        }
      }
    }
  }

  bool IsEscapeCode(xcb_keycode_t code) const {
    return std::find(codes_.begin(), codes_.end(), code) != codes_.end();
  }

  xcb_connection_t* connection_;
  std::vector<xcb_keycode_t> codes_;
  int xi_opcode_;
  std::bitset<kKeycodes> down_;
  bool ignored_ = false;  // the press held when IgnoreHeldPress was called
};

}  // namespace

std::unique_ptr<EscapeKey> ConnectX11EscapeKey() {
  int screen = 0;
  xcb_connection_t* connection = xcb_connect(nullptr, &screen);
  if (xcb_connection_has_error(connection) != 0) {
    xcb_disconnect(connection);
    return nullptr;
  }
  std::vector<xcb_keycode_t> codes = EscapeKeycodes(connection);
  if (codes.empty()) {
    xcb_disconnect(connection);
    return nullptr;
  }
  const int xi_opcode = SelectRawKeyEvents(connection, RootWindow(connection, screen));
  return std::make_unique<X11EscapeKey>(connection, std::move(codes), xi_opcode);
}

}  // namespace quorel
