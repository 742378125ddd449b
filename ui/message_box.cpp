// SPDX-License-Identifier: GPL-3.0-or-later
#include "message_box.h"

#include <QAbstractButton>
#include <QClipboard>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QLabel>
#include <QLayout>
#include <QMessageBox>
#include <QScreen>

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

  void showEvent(QShowEvent* event) override {
    QMessageBox::showEvent(event);
    KeepSentencesWhole();
  }

 private:
  // The toolkit wraps a text wider than about 500 pixels, which leaves the last word of a
  // sentence just over that width alone on a line. The box grows instead, as far as nine
  // tenths of the screen, and wraps only what is wider still.
  void KeepSentencesWhole() {
    auto* label = findChild<QLabel*>(QStringLiteral("qt_msgbox_label"));
    if (label == nullptr || !label->wordWrap() || screen() == nullptr) {
      return;
    }
    const int text_width = label->fontMetrics().size(0, text()).width();
    const int room = screen()->availableGeometry().width() * 9 / 10 - (width() - label->width());
    if (text_width > room) {
      return;
    }
    label->setWordWrap(false);
    label->setMinimumWidth(text_width);
    layout()->activate();
    setFixedSize(layout()->totalSizeHint());
  }

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
