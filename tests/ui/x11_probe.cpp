// SPDX-License-Identifier: GPL-3.0-or-later
// A helper of the X11 tests that reads what a person would see of another program's window:
//
//   quorel-x11-probe screenshot FILE.png [WINDOW_ID]   the window (or the whole screen) as PNG
//   quorel-x11-probe clipboard [SECONDS]               the clipboard's text, UTF-8, on stdout;
//                                                      with SECONDS, waits up to that long for
//                                                      a copy into an empty clipboard
//   quorel-x11-probe clear                             leaves the clipboard empty
//   quorel-x11-probe close WINDOW_ID                   asks the window to close, as a close box
//                                                      or a window manager would
//   quorel-x11-probe find NAME                         "X Y WIDTH HEIGHT" on the screen of the
//                                                      control named NAME for screen readers
//                                                      (AT-SPI), a box before its caption
#include <xcb/xcb.h>
#include <QClipboard>
#include <QCoreApplication>
#include <QDBusArgument>
#include <QDBusConnection>
#include <QDBusInterface>
#include <QDBusMetaType>
#include <QDBusObjectPath>
#include <QDBusReply>
#include <QGuiApplication>
#include <QPixmap>
#include <QRect>
#include <QScreen>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <optional>
#include <thread>

namespace {

int Screenshot(const char* file, WId window) {
  const QPixmap shot = QGuiApplication::primaryScreen()->grabWindow(window);
  if (shot.isNull() || !shot.save(QString::fromLocal8Bit(file), "PNG")) {
    std::fprintf(stderr, "quorel-x11-probe: cannot write %s\n", file);
    return 1;
  }
  return 0;
}

int PrintClipboard() {
  const QByteArray text = QGuiApplication::clipboard()->text().toUtf8();
  std::fwrite(text.constData(), 1, static_cast<std::size_t>(text.size()), stdout);
  return 0;
}

// Takes the clipboard and gives it up on exit, so that it holds nothing until the next copy.
int ClearClipboard() {
  QGuiApplication::clipboard()->setText(QString());
  return 0;
}

xcb_atom_t Atom(xcb_connection_t* connection, const char* name) {
  xcb_intern_atom_reply_t* reply = xcb_intern_atom_reply(
      connection,
      xcb_intern_atom(connection, 0, static_cast<std::uint16_t>(std::strlen(name)), name), nullptr);
  const xcb_atom_t atom = reply != nullptr ? reply->atom : xcb_atom_t{XCB_ATOM_NONE};
  std::free(reply);
  return atom;
}

// Waits until some client owns the clipboard, or `seconds` have passed: a program that is busy
// copies a moment after the keys were sent, and one that copies a long text takes its time.
void WaitForClipboardOwner(double seconds) {
  xcb_connection_t* connection = xcb_connect(nullptr, nullptr);
  if (xcb_connection_has_error(connection) == 0) {
    const xcb_atom_t clipboard = Atom(connection, "CLIPBOARD");
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::duration<double>(seconds);
    for (;;) {
      xcb_get_selection_owner_reply_t* reply = xcb_get_selection_owner_reply(
          connection, xcb_get_selection_owner(connection, clipboard), nullptr);
      const bool owned = reply != nullptr && reply->owner != XCB_NONE;
      std::free(reply);
      if (owned || std::chrono::steady_clock::now() >= deadline) {
        break;
      }
      std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
  }
  xcb_disconnect(connection);
}

// Sends the window the WM_DELETE_WINDOW message of the window-manager protocol.
int CloseWindow(xcb_window_t window) {
  xcb_connection_t* connection = xcb_connect(nullptr, nullptr);
  if (xcb_connection_has_error(connection) != 0) {
    std::fputs("quorel-x11-probe: no display\n", stderr);
    xcb_disconnect(connection);
    return 1;
  }
  xcb_client_message_event_t message{};
  message.response_type = XCB_CLIENT_MESSAGE;
  message.format = 32;
  message.window = window;
  message.type = Atom(connection, "WM_PROTOCOLS");
  message.data.data32[0] = Atom(connection, "WM_DELETE_WINDOW");
  message.data.data32[1] = XCB_CURRENT_TIME;
  xcb_send_event(connection, 0, window, XCB_EVENT_MASK_NO_EVENT,
                 reinterpret_cast<const char*>(&message));
  // A round trip, so the server has handled the message before this client goes.
  std::free(xcb_get_input_focus_reply(connection, xcb_get_input_focus(connection), nullptr));
  xcb_disconnect(connection);
  return 0;
}

// An accessible object on the AT-SPI bus: the service that holds it and its path.
struct Accessible {
  QString service;
  QDBusObjectPath path;
};

QDBusArgument& operator<<(QDBusArgument& argument, const Accessible& accessible) {
  argument.beginStructure();
  argument << accessible.service << accessible.path;
  argument.endStructure();
  return argument;
}

const QDBusArgument& operator>>(const QDBusArgument& argument, Accessible& accessible) {
  argument.beginStructure();
  argument >> accessible.service >> accessible.path;
  argument.endStructure();
  return argument;
}

}  // namespace

Q_DECLARE_METATYPE(Accessible)

namespace {

constexpr unsigned kLabelRole = 29;  // ATSPI_ROLE_LABEL
constexpr unsigned kScreenCoordinates = 0;

class AccessibilityBus {
 public:
  explicit AccessibilityBus(QDBusConnection connection) : connection_(std::move(connection)) {}

  QList<Accessible> Children(const Accessible& parent) const {
    QDBusInterface node(parent.service, parent.path.path(), "org.a11y.atspi.Accessible",
                        connection_);
    const QDBusReply<QList<Accessible>> reply = node.call("GetChildren");
    return reply.isValid() ? reply.value() : QList<Accessible>();
  }
  QString Name(const Accessible& node) const {
    QDBusInterface properties(node.service, node.path.path(), "org.freedesktop.DBus.Properties",
                              connection_);
    const QDBusReply<QDBusVariant> reply =
        properties.call("Get", "org.a11y.atspi.Accessible", "Name");
    return reply.isValid() ? reply.value().variant().toString() : QString();
  }
  unsigned Role(const Accessible& node) const {
    QDBusInterface accessible(node.service, node.path.path(), "org.a11y.atspi.Accessible",
                              connection_);
    const QDBusReply<unsigned> reply = accessible.call("GetRole");
    return reply.isValid() ? reply.value() : 0;
  }
  QRect Extents(const Accessible& node) const {
    QDBusInterface component(node.service, node.path.path(), "org.a11y.atspi.Component",
                             connection_);
    const QDBusReply<QRect> reply = component.call("GetExtents", kScreenCoordinates);
    return reply.isValid() ? reply.value() : QRect();
  }

 private:
  QDBusConnection connection_;
};

// Every accessible object under `root`, depth first.
void Walk(const AccessibilityBus& bus, const Accessible& root, QList<Accessible>& found) {
  for (const Accessible& child : bus.Children(root)) {
    found.append(child);
    Walk(bus, child, found);
  }
}

int FindControl(const QString& name) {
  qDBusRegisterMetaType<Accessible>();
  qDBusRegisterMetaType<QList<Accessible>>();
  QDBusInterface launcher("org.a11y.Bus", "/org/a11y/bus", "org.a11y.Bus",
                          QDBusConnection::sessionBus());
  const QDBusReply<QString> address = launcher.call("GetAddress");
  if (!address.isValid()) {
    std::fputs("quorel-x11-probe: no accessibility bus (AT-SPI) on the session bus\n", stderr);
    return 1;
  }
  const AccessibilityBus bus(QDBusConnection::connectToBus(address.value(), "a11y"));
  QList<Accessible> nodes;
  Walk(bus, {"org.a11y.atspi.Registry", QDBusObjectPath("/org/a11y/atspi/accessible/root")}, nodes);
  std::optional<QRect> label;
  for (const Accessible& node : nodes) {
    if (bus.Name(node) != name) {
      continue;
    }
    const QRect extents = bus.Extents(node);
    if (bus.Role(node) != kLabelRole) {
      std::printf("%d %d %d %d\n", extents.x(), extents.y(), extents.width(), extents.height());
      return 0;
    }
    label = label.value_or(extents);
  }
  if (label) {
    std::printf("%d %d %d %d\n", label->x(), label->y(), label->width(), label->height());
    return 0;
  }
  std::fprintf(stderr, "quorel-x11-probe: no control named '%s'\n", qPrintable(name));
  return 1;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc == 3 && std::strcmp(argv[1], "find") == 0) {
    QCoreApplication application(argc, argv);
    return FindControl(QString::fromUtf8(argv[2]));
  }
  // Needs no toolkit: a Qt client starting up would talk to the display on its own account.
  if (argc == 3 && std::strcmp(argv[1], "close") == 0) {
    return CloseWindow(static_cast<xcb_window_t>(std::strtoul(argv[2], nullptr, 0)));
  }
  if (argc == 3 && std::strcmp(argv[1], "clipboard") == 0) {
    WaitForClipboardOwner(std::strtod(argv[2], nullptr));
    argc = 2;
  }
  QGuiApplication application(argc, argv);
  if (argc >= 3 && std::strcmp(argv[1], "screenshot") == 0) {
    return Screenshot(argv[2],
                      argc >= 4 ? static_cast<WId>(std::strtoull(argv[3], nullptr, 0)) : 0);
  }
  if (argc == 2 && std::strcmp(argv[1], "clipboard") == 0) {
    return PrintClipboard();
  }
  if (argc == 2 && std::strcmp(argv[1], "clear") == 0) {
    return ClearClipboard();
  }
  std::fputs(
      "usage: quorel-x11-probe screenshot FILE.png [WINDOW_ID] | clipboard [SECONDS] | clear | "
      "close ID | find NAME\n",
      stderr);
  return 2;
}
