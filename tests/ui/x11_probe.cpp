// A helper of the X11 tests that reads what a person would see of another program's window:
//
//   quorel-x11-probe screenshot FILE.png [WINDOW_ID]   the window (or the whole screen) as PNG
//   quorel-x11-probe clipboard                         the clipboard's text, UTF-8, on stdout
//   quorel-x11-probe clear                             leaves the clipboard empty
#include <QClipboard>
#include <QGuiApplication>
#include <QPixmap>
#include <QScreen>
#include <cstdio>
#include <cstring>

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

}  // namespace

int main(int argc, char** argv) {
  QGuiApplication application(argc, argv);
  if (argc >= 3 && std::strcmp(argv[1], "screenshot") == 0) {
    return Screenshot(argv[2], argc >= 4 ? static_cast<WId>(std::strtoull(argv[3], nullptr, 0)) : 0);
  }
  if (argc == 2 && std::strcmp(argv[1], "clipboard") == 0) {
    return PrintClipboard();
  }
  if (argc == 2 && std::strcmp(argv[1], "clear") == 0) {
    return ClearClipboard();
  }
  std::fputs("usage: quorel-x11-probe screenshot FILE.png [WINDOW_ID] | clipboard | clear\n",
             stderr);
  return 2;
}
