#include "message_box.h"

#include <QAbstractButton>
#include <QClipboard>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QMessageBox>

namespace quorel {
namespace {

// Ctrl+C copies the box's title, text and button, as Windows message boxes do, so a message can
// be passed on or checked without retyping it.
class QuorelMessageBox final : public QMessageBox {
 public:
  QuorelMessageBox(QWidget* parent, const QString& text)
      : QMessageBox(QMessageBox::NoIcon, QString::fromLatin1(kApplicationTitle), text,
                    QMessageBox::Ok, parent) {}

 protected:
  void keyPressEvent(QKeyEvent* event) override {
    if (event->matches(QKeySequence::Copy)) {
      QGuiApplication::clipboard()->setText(CopiedText());
      return;
    }
    QMessageBox::keyPressEvent(event);
  }

 private:
  QString CopiedText() const {
    const QString rule = QStringLiteral("---------------------------\n");
    QString copied = rule + windowTitle() + u'\n' + rule + text() + u'\n' + rule;
    for (const QAbstractButton* button : buttons()) {
      copied += button->text().remove(u'&') + u'\n';
    }
    return copied + rule;
  }
};

}  // namespace

void ShowQuorelMessage(QWidget* parent, const QString& text) {
  QuorelMessageBox box(parent, text);
  box.setWindowModality(Qt::ApplicationModal);
  box.setTextFormat(Qt::PlainText);
  box.exec();
}

}  // namespace quorel
