// SPDX-License-Identifier: GPL-3.0-or-later
#include "form1.h"

#include <QCheckBox>
#include <QCloseEvent>
#include <QCoreApplication>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QStyleHints>
#include <limits>

#include "search/search_run.h"
#include "ui/escape_key.h"
#include "ui/fonts.h"
#include "ui/matrix_opener.h"
#include "ui/result_box.h"
#include "ui/user_input.h"

namespace quorel {
namespace {

// The client area, in pixels of 15 twips.
constexpr int kClientWidth = 721;
constexpr int kClientHeight = 437;

template <typename Control>
Control* Place(Control* control, const char* name, int left, int top, int width, int height) {
  control->setObjectName(QLatin1String(name));
  control->setGeometry(left, top, width, height);
  return control;
}

QLabel* MakeLabel(QWidget* form, const char* name, const char* caption, int left, int top,
                  int width, int height) {
  return Place(new QLabel(QString::fromUtf8(caption), form), name, left, top, width, height);
}

QLineEdit* MakeLineBox(QWidget* form, const char* name, const QString& text, int left, int top,
                       int width, int height) {
  auto* box = Place(new QLineEdit(text, form), name, left, top, width, height);
  box->setMaxLength(std::numeric_limits<int>::max());  // no limit of its own
  box->setCursorPosition(0);
  return box;
}

// Command1: pressed from the keyboard by Return and Enter as well as by Space, though it is no
// default button (Enter in a text box presses nothing).
class SearchButton final : public QPushButton {
 public:
  using QPushButton::QPushButton;

 protected:
  void keyPressEvent(QKeyEvent* event) override {
    const bool enter = event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter;
    const Qt::KeyboardModifiers modifiers = event->modifiers() & ~Qt::KeypadModifier;
    if (enter && modifiers == Qt::NoModifier) {
      if (!event->isAutoRepeat()) {
        click();
      }
      return;
    }
    QPushButton::keyPressEvent(event);
  }
};

// A box's name for screen readers is the caption of the label above it, which also gives the
// box the focus when clicked.
void Caption(QLabel* label, QWidget* box) {
  label->setBuddy(box);
  box->setAccessibleName(label->text());
}

std::size_t SlotOf(Box box) {
  return static_cast<std::size_t>(box);
}

}  // namespace

Form1::Form1(std::size_t capacity)
    : capacity_(capacity), escape_key_(MakeEscapeKey()), throttle_([this](Box box) { Draw(box); }) {
  setWindowTitle(QStringLiteral("Form1"));
  setFixedSize(kClientWidth, kClientHeight);
  setFont(WindowFont());
  // A steady caret: a blinking one redraws the focused box twice a second for as long as the
  // window is open, which for a box holding a long text keeps an idle window busy.
  QGuiApplication::styleHints()->setCursorFlashTime(0);
  CreateControls();
  FitCaptions(*this);
  SetTabOrder();
  connect(command1_, &QPushButton::clicked, this, &Form1::OnCommand1Clicked);
  for (QLineEdit* box : {text1_, text2_, text3_, text5_}) {
    box->installEventFilter(this);
  }
  command1_->setFocus();
}

Form1::~Form1() = default;

// In the order of the layout table, so each box lies on top of the label that reaches into it.
void Form1::CreateControls() {
  label1_ = MakeLabel(this, "Label1", "Enter text to search:", 16, 16, 137, 17);
  text1_ = MakeLineBox(this, "Text1", QStringLiteral(u"\u05D7\u05D5\u05E4\u05E9"), 16, 32, 137, 19);
  text1_->setAlignment(Qt::AlignRight | Qt::AlignAbsolute | Qt::AlignVCenter);
  label3_ = MakeLabel(this, "Label3", "Enter min skip size:", 16, 72, 137, 17);
  text3_ = MakeLineBox(this, "Text3", QStringLiteral("2"), 16, 88, 137, 19);
  label2_ = MakeLabel(this, "Label2", "Enter max skip size:", 16, 112, 137, 17);
  text2_ = MakeLineBox(this, "Text2", QStringLiteral("20"), 16, 128, 137, 19);
  command1_ = Place(new SearchButton(QStringLiteral("Search"), this), "Command1", 16, 176, 137, 57);
  command1_->setFont(SearchButtonFont());
  command1_->setAutoDefault(false);
  command1_->setDefault(false);
  check1_ = Place(new QCheckBox(QStringLiteral("Show area around result"), this), "Check1", 16, 240,
                  137, 25);
  check1_->setChecked(false);
  label5_ = MakeLabel(this, "Label5", "Currently testing skip of:", 16, 352, 145, 17);
  label5_->setAlignment(Qt::AlignCenter);
  text5_ = MakeLineBox(this, "Text5", QString(), 16, 368, 145, 25);
  label4_ = MakeLabel(this, "Label4", "Press ESC to abort", 16, 400, 145, 17);
  label4_->setAlignment(Qt::AlignCenter);
  text4_ = Place(new ResultBox(this), "Text4", 176, 16, 529, 401);
  text4_->setFont(ResultBoxFont());
  AttachMatrixOpener(text4_);
  NameControls();
}

void Form1::NameControls() {
  Caption(label1_, text1_);
  Caption(label3_, text3_);
  Caption(label2_, text2_);
  Caption(label5_, text5_);
  text5_->setAccessibleDescription(label4_->text());
  command1_->setAccessibleName(command1_->text());
  check1_->setAccessibleName(check1_->text());
  // The result box has no caption of its own.
  text4_->setAccessibleName(QStringLiteral("Results"));
  for (QLabel* label : {label1_, label3_, label2_, label5_, label4_}) {
    label->setAccessibleName(label->text());
  }
}

// Command1, Text1, Text2, Text3, Text4, Text5, Check1, and round again. The labels never take
// the focus.
void Form1::SetTabOrder() {
  QWidget* const order[] = {command1_, text1_, text2_, text3_, text4_, text5_, check1_};
  for (std::size_t k = 0; k + 1 < std::size(order); ++k) {
    setTabOrder(order[k], order[k + 1]);
  }
}

void Form1::OnCommand1Clicked() {
  // A second search would append its finds among the first one's: it is turned away.
  if (running_) {
    return;
  }
  running_ = true;
  skip_shown_ = false;
  escape_seen_ = false;
  Command1_Click(*this);
  running_ = false;
  escape_seen_ = false;
  if (gone_) {
    QCoreApplication::quit();
    return;
  }
  throttle_.DrawAll();
  text4_->Flush();
}

void Form1::closeEvent(QCloseEvent* event) {
  if (running_) {
    // The run stops at its next poll and touches no control after that.
    gone_ = true;
  }
  event->accept();
}

QLineEdit* Form1::LineBox(Box box) const {
  switch (box) {
    case Box::Text1:
      return text1_;
    case Box::Text2:
      return text2_;
    case Box::Text3:
      return text3_;
    case Box::Text5:
      return text5_;
    case Box::Text4:
      break;
  }
  return nullptr;
}

void Form1::ShowLineText(Box box, const QString& text) {
  QLineEdit* line = LineBox(box);
  line->setText(text);
  line->setCursorPosition(0);
}

void Form1::ApplyHeldText(Box box) {
  std::optional<QString>& held = held_text_[SlotOf(box)];
  if (held) {
    ShowLineText(box, *held);
    held.reset();
  }
}

void Form1::Draw(Box box) {
  if (box == Box::Text4) {
    text4_->DrawNow();
    return;
  }
  ApplyHeldText(box);
  LineBox(box)->repaint();
}

// The user types into a box that shows what the run wrote last.
bool Form1::eventFilter(QObject* watched, QEvent* event) {
  if (IsUserInput(*event)) {
    for (const Box box : {Box::Text1, Box::Text2, Box::Text3, Box::Text5}) {
      if (watched == LineBox(box)) {
        ApplyHeldText(box);
      }
    }
  }
  return QWidget::eventFilter(watched, event);
}

}  // namespace quorel
