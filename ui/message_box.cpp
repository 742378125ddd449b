#include "message_box.h"

#include <QMessageBox>

namespace quorel {

void ShowQuorelMessage(QWidget* parent, const QString& text) {
  QMessageBox box(QMessageBox::NoIcon, kApplicationTitle, text, QMessageBox::Ok, parent);
  box.setWindowModality(Qt::ApplicationModal);
  box.setTextFormat(Qt::PlainText);
  box.exec();
}

}  // namespace quorel
