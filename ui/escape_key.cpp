// SPDX-License-Identifier: GPL-3.0-or-later
#include "escape_key.h"

#include <QGuiApplication>
#include <QKeyEvent>
#include <QObject>

#ifdef QUOREL_HAVE_XCB
#include "x11_escape_key.h"
#endif

namespace quorel {
namespace {

// Watches every key event of the application before its windows get it, and lets it through.
class WindowEscapeKey final : public QObject, public EscapeKey {
 public:
  WindowEscapeKey() { QCoreApplication::instance()->installEventFilter(this); }
  ~WindowEscapeKey() override {
    if (QCoreApplication::instance() != nullptr) {
      QCoreApplication::instance()->removeEventFilter(this);
    }
  }

  bool IsDown() override { return down_ && !ignored_; }
  void IgnoreHeldPress() override { ignored_ = down_; }

  bool eventFilter(QObject* watched, QEvent* event) override {
    switch (event->type()) {
      case QEvent::KeyPress:
      case QEvent::KeyRelease: {
        const auto* key = static_cast<QKeyEvent*>(event);
        if (key->key() == Qt::Key_Escape && !key->isAutoRepeat()) {
          down_ = event->type() == QEvent::KeyPress;
          ignored_ = ignored_ && down_;
        }
        break;
      }
      case QEvent::ApplicationStateChange:
        // The release of a key held while the program loses the focus never reaches it.
        if (static_cast<QApplicationStateChangeEvent*>(event)->applicationState() !=
            Qt::ApplicationActive) {
          down_ = false;
          ignored_ = false;
        }
        break;
      default:
        break;
    }
    return QObject::eventFilter(watched, event);
  }

 private:
  bool down_ = false;
  bool ignored_ = false;  // the press held when IgnoreHeldPress was called
};

}  // namespace

std::unique_ptr<EscapeKey> MakeWindowEscapeKey() {
  return std::make_unique<WindowEscapeKey>();
}

std::unique_ptr<EscapeKey> MakeEscapeKey() {
#ifdef QUOREL_HAVE_XCB
  if (QGuiApplication::platformName() == QLatin1String("xcb")) {
    if (std::unique_ptr<EscapeKey> x11 = ConnectX11EscapeKey()) {
      return x11;
    }
  }
#endif
  return MakeWindowEscapeKey();
}

}  // namespace quorel
