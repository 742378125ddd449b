// SPDX-License-Identifier: GPL-3.0-or-later
// A fresh Form1 in a scratch folder that holds the data file, and the moves of a user.
#pragma once

#include <gtest/gtest.h>

#include <QApplication>
#include <QCheckBox>
#include <QKeyEvent>
#include <QLineEdit>
#include <QMessageBox>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTest>
#include <QTimer>
#include <filesystem>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "fake_window.h"
#include "search/search_run.h"
#include "temp_dir.h"
#include "ui/form1.h"

namespace quorel::test {

// What a message box showed, read while it was open.
struct SeenMessage {
  QString title;
  QString text;
  QMessageBox::Icon icon = QMessageBox::NoIcon;
  QMessageBox::StandardButtons buttons;
  int button_count = 0;
  Qt::WindowModality modality = Qt::NonModal;
};

class Form1Test : public ::testing::Test {
 protected:
  void SetUp() override {
    previous_folder_ = std::filesystem::current_path();
    std::filesystem::current_path(dir_.path());
    MakeForm(kResultBoxCapacity);
  }
  void TearDown() override {
    form_.reset();
    std::filesystem::current_path(previous_folder_);
  }

  void MakeForm(std::size_t capacity) {
    form_ = std::make_unique<Form1>(capacity);
    form_->show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(form_.get()));
  }

  void WriteDataFile(const std::u16string& letters) {
    dir_.Write("Quorel.DSF", DataFileBytes(letters));
  }

  template <typename Control>
  Control* Find(const char* name) {
    auto* control = form_->findChild<Control*>(QLatin1String(name));
    EXPECT_NE(control, nullptr) << name;
    return control;
  }
  QLineEdit* Line(const char* name) { return Find<QLineEdit>(name); }
  QPlainTextEdit* Text4() { return Find<QPlainTextEdit>("Text4"); }
  QPushButton* Command1() { return Find<QPushButton>("Command1"); }
  QCheckBox* Check1() { return Find<QCheckBox>("Check1"); }

  // Types `text` key by key; QTest's own typing knows only ASCII.
  static void TypeKeys(QWidget* widget, const QString& text) {
    for (const QChar c : text) {
      QKeyEvent press(QEvent::KeyPress, Qt::Key_unknown, Qt::NoModifier, QString(c));
      QKeyEvent release(QEvent::KeyRelease, Qt::Key_unknown, Qt::NoModifier, QString(c));
      QApplication::sendEvent(widget, &press);
      QApplication::sendEvent(widget, &release);
    }
  }

  // Replaces a box's text by typing, as a user would.
  void Type(QLineEdit* box, const QString& text) {
    box->setFocus();
    QTest::keyClick(box, Qt::Key_A, Qt::ControlModifier);
    QTest::keyClick(box, Qt::Key_Delete);
    TypeKeys(box, text);
  }

  void TypeInputs(const QString& word, const QString& min_skip, const QString& max_skip) {
    Type(Line("Text1"), word);
    Type(Line("Text3"), min_skip);
    Type(Line("Text2"), max_skip);
  }

  // Presses Search with the mouse; returns once the run has ended.
  void ClickSearch() { QTest::mouseClick(Command1(), Qt::LeftButton); }

  // Runs `action` as the user's move in the run's yield at `skip`: a zero timer fires at every
  // pass of the window's event handling, and acts in the first one that finds the run showing
  // the skip.
  void AtSkip(const QString& skip, std::function<void()> action) {
    auto* watch = new QTimer(form_.get());
    QObject::connect(watch, &QTimer::timeout, [this, watch, skip, action] {
      if (form_->IsRunning() && QString::fromStdU16String(form_->GetText(Box::Text5)) == skip) {
        watch->stop();
        action();
      }
    });
    watch->start(0);
  }

  // Closes every message box as it opens, by its OK button, noting what it showed.
  void AnswerMessages() {
    auto* timer = new QTimer(form_.get());
    QObject::connect(timer, &QTimer::timeout, [this] {
      auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
      if (box == nullptr || !box->isVisible()) {
        return;
      }
      seen_.push_back({box->windowTitle(), box->text(), box->icon(), box->standardButtons(),
                       static_cast<int>(box->buttons().size()), box->windowModality()});
      box->button(QMessageBox::Ok)->click();
    });
    timer->start(5);
  }

  // The same search run against the scripted window, for the result the real one must match.
  FakeWindow Expected(const std::u16string& word, const std::u16string& min_skip,
                      const std::u16string& max_skip,
                      const std::function<void(FakeWindow&)>& setup = {}) {
    FakeWindow window(word, min_skip, max_skip);
    if (setup) {
      setup(window);
    }
    Command1_Click(window, dir_.path() / "Quorel.DSF");
    return window;
  }

  std::u16string Result() { return form_->GetText(Box::Text4); }

  TempDir dir_;
  std::filesystem::path previous_folder_;
  std::unique_ptr<Form1> form_;
  std::vector<SeenMessage> seen_;
};

// The default word, חופש, as the window starts with it.
inline const std::u16string kWord = u"\u05D7\u05D5\u05E4\u05E9";

// A text of dalets holding the default word at the given (skip, position) pairs.
inline std::u16string TextWithWord(const std::vector<std::pair<int, int>>& finds) {
  std::u16string text(304805, u'\u05D3');
  for (const auto& [skip, position] : finds) {
    for (std::size_t j = 0; j < kWord.size(); ++j) {
      text[static_cast<std::size_t>(position - 1) + j * static_cast<std::size_t>(skip)] = kWord[j];
    }
  }
  return text;
}

}  // namespace quorel::test
