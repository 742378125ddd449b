// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/matrix_window.h"

#include <QComboBox>
#include <QFileDialog>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMessageBox>
#include <QMouseEvent>
#include <QPainter>
#include <QPushButton>
#include <QScrollArea>
#include <QSpinBox>
#include <QVBoxLayout>
#include <functional>

#include "matrix/matrix_plain_text.h"
#include "matrix_draw/matrix_export.h"
#include "matrix_draw/matrix_picture.h"
#include "text/letter_text.h"
#include "text/verse_index.h"

namespace quorel {

// What a matrix window reads once: the letter text and, where one lies beside the data file,
// its verse index.
struct MatrixData {
  LetterText letters;
  std::unique_ptr<MatrixText> text;  // reads `letters`
  std::optional<VerseIndex> verses;
};

namespace {

constexpr int kMostSplits = 10;
const qreal kZooms[] = {0.5, 0.75, 1.0, 1.25, 1.5, 2.0, 3.0};
constexpr int kDefaultZoom = 2;  // 100 %

QString FromUtf16(std::u16string_view text) {
  return QStringView(text.data(), static_cast<qsizetype>(text.size())).toString();
}

std::shared_ptr<const MatrixData> LoadMatrixData(const std::filesystem::path& data_file,
                                                 QString& failure) {
  LoadResult load = LoadLetterText(data_file);
  if (!load.text) {
    failure = QString::fromStdString(load.failure);
    return nullptr;
  }
  auto data = std::make_shared<MatrixData>();
  data->letters = std::move(*load.text);
  data->text = std::make_unique<MatrixText>(data->letters.FileLetters());
  // A faulty index costs the verse names on hover, nothing else.
  data->verses = LoadVerseIndex(VerseIndexPathFor(data_file), data->letters.FileLength()).index;
  return data;
}

}  // namespace

// The picture, scaled by the zoom; tells its window which cell the mouse is over.
class MatrixCanvas final : public QWidget {
 public:
  using Hover = std::function<void(std::optional<std::pair<std::int32_t, std::int32_t>>)>;

  MatrixCanvas(Hover hover, QWidget* parent) : QWidget(parent), hover_(std::move(hover)) {
    setMouseTracking(true);
    setObjectName(QStringLiteral("matrixPicture"));
  }

  void SetMatrix(std::shared_ptr<const Matrix> matrix) {
    matrix_ = std::move(matrix);
    layout_ = matrix_ ? std::make_unique<MatrixPictureLayout>(*matrix_) : nullptr;
    Resize();
  }
  void SetZoom(qreal zoom) {
    zoom_ = zoom;
    Resize();
  }

 protected:
  void paintEvent(QPaintEvent*) override {
    QPainter painter(this);
    painter.fillRect(rect(), Qt::white);
    if (matrix_) {
      painter.scale(zoom_, zoom_);
      PaintMatrix(painter, *matrix_, *layout_);
    }
  }
  void mouseMoveEvent(QMouseEvent* event) override {
    if (layout_) {
      hover_(layout_->CellAt(event->position() / zoom_));
    }
  }
  void leaveEvent(QEvent*) override { hover_(std::nullopt); }

 private:
  void Resize() {
    const QSizeF size = layout_ ? layout_->Size() * zoom_ : QSizeF(200, 100);
    setFixedSize(size.toSize());
    update();
  }

  Hover hover_;
  std::shared_ptr<const Matrix> matrix_;
  std::unique_ptr<MatrixPictureLayout> layout_;
  qreal zoom_ = 1;
};

MatrixWindow::MatrixWindow(const std::u16string& word, std::int32_t skip, std::int32_t position,
                           std::filesystem::path data_file, QWidget* parent)
    : QWidget(parent, Qt::Window),
      word_(PrepareMatrixWord(word)),
      skip_(skip),
      position_(position),
      data_file_(std::move(data_file)),
      row_width_(SplitRowWidth(skip, 1)) {
  setAttribute(Qt::WA_DeleteOnClose);
  setObjectName(QStringLiteral("MatrixWindow"));
  setWindowTitle(QStringLiteral("Matrix: %1, skip %2, position %3")
                     .arg(QString::fromStdString(WordAsWritten(word_)))
                     .arg(skip)
                     .arg(position));
  pool_.setMaxThreadCount(1);
  CreateControls();
  resize(900, 700);
  Recompute();
}

MatrixWindow::~MatrixWindow() {
  // A matrix still being built posts to this window when done: wait for it.
  pool_.clear();
  pool_.waitForDone();
}

void MatrixWindow::CreateControls() {
  width_choice_ = new QComboBox(this);
  width_choice_->setObjectName(QStringLiteral("widthChoice"));
  for (int parts = 1; parts <= kMostSplits; ++parts) {
    const std::int32_t width = SplitRowWidth(skip_, parts);
    if (parts > 1 && width < kMinRowWidth) {
      break;
    }
    width_choice_->addItem(parts == 1
                               ? QStringLiteral("Skip: %1 letters").arg(width)
                               : QStringLiteral("Skip / %1: %2 letters").arg(parts).arg(width),
                           width);
  }
  width_choice_->addItem(QStringLiteral("Other width"), 0);
  width_box_ = new QSpinBox(this);
  width_box_->setObjectName(QStringLiteral("widthBox"));
  width_box_->setRange(std::min(kMinRowWidth, row_width_), std::max(kMaxRowWidth, row_width_));
  width_box_->setValue(row_width_);
  width_box_->setSuffix(QStringLiteral(" letters"));
  zoom_choice_ = new QComboBox(this);
  zoom_choice_->setObjectName(QStringLiteral("zoomChoice"));
  for (const qreal zoom : kZooms) {
    zoom_choice_->addItem(QStringLiteral("%1 %").arg(qRound(zoom * 100)), zoom);
  }
  zoom_choice_->setCurrentIndex(kDefaultZoom);
  auto* export_button = new QPushButton(QStringLiteral("Export..."), this);
  export_button->setObjectName(QStringLiteral("exportButton"));

  word_box_ = new QLineEdit(this);
  word_box_->setObjectName(QStringLiteral("wordBox"));
  word_box_->setPlaceholderText(QStringLiteral("Another word to mark"));
  word_box_->setMinimumWidth(
      word_box_->fontMetrics().horizontalAdvance(word_box_->placeholderText()) + 24);
  auto* add_button = new QPushButton(QStringLiteral("Add word"), this);
  add_button->setObjectName(QStringLiteral("addWordButton"));
  auto* remove_button = new QPushButton(QStringLiteral("Remove"), this);
  remove_button->setObjectName(QStringLiteral("removeWordButton"));
  word_list_ = new QListWidget(this);
  word_list_->setObjectName(QStringLiteral("wordList"));
  word_list_->setSelectionMode(QAbstractItemView::ExtendedSelection);
  word_list_->setMaximumHeight(word_list_->fontMetrics().height() * 4);

  canvas_ = new MatrixCanvas(
      [this](std::optional<std::pair<std::int32_t, std::int32_t>> cell) { ShowCell(cell); }, this);
  scroll_ = new QScrollArea(this);
  scroll_->setWidget(canvas_);
  scroll_->setBackgroundRole(QPalette::Base);
  status_ = new QLabel(this);
  status_->setObjectName(QStringLiteral("matrixStatus"));
  status_->setTextInteractionFlags(Qt::TextSelectableByMouse);

  auto* choices = new QHBoxLayout;
  choices->addWidget(new QLabel(QStringLiteral("Row width:"), this));
  choices->addWidget(width_choice_);
  choices->addWidget(width_box_);
  choices->addSpacing(16);
  choices->addWidget(new QLabel(QStringLiteral("Zoom:"), this));
  choices->addWidget(zoom_choice_);
  choices->addStretch();
  choices->addWidget(export_button);
  auto* words = new QHBoxLayout;
  words->addWidget(word_box_);
  words->addWidget(add_button);
  words->addWidget(word_list_, 1);
  words->addWidget(remove_button);
  auto* layout = new QVBoxLayout(this);
  layout->addLayout(choices);
  layout->addLayout(words);
  layout->addWidget(scroll_, 1);
  layout->addWidget(status_);

  connect(width_choice_, &QComboBox::activated, this, &MatrixWindow::OnWidthChoice);
  connect(width_box_, &QSpinBox::editingFinished, this, [this] {
    if (width_box_->value() != row_width_) {
      width_choice_->setCurrentIndex(width_choice_->count() - 1);
      SetRowWidth(width_box_->value());
    }
  });
  connect(zoom_choice_, &QComboBox::currentIndexChanged, this,
          [this](int index) { SetZoom(zoom_choice_->itemData(index).toReal()); });
  connect(export_button, &QPushButton::clicked, this, &MatrixWindow::OnExport);
  connect(add_button, &QPushButton::clicked, this, [this] {
    if (AddWord(word_box_->text())) {
      word_box_->clear();
    }
  });
  connect(word_box_, &QLineEdit::returnPressed, add_button, &QPushButton::click);
  connect(remove_button, &QPushButton::clicked, this, &MatrixWindow::RemoveSelectedWords);
}

bool MatrixWindow::AddWord(const QString& typed) {
  const std::u16string word = PrepareMatrixWord(typed.toStdU16String());
  if (word.empty()) {
    status_->setText(QStringLiteral("A word to mark needs 2 or more Hebrew letters."));
    return false;
  }
  if (static_cast<std::size_t>(word_list_->count()) >= kMaxOtherWords) {
    status_->setText(QStringLiteral("At most %1 words can be marked.").arg(kMaxOtherWords));
    return false;
  }
  // Shown as written, searched with its final form read as its letter.
  auto* item = new QListWidgetItem(QString::fromStdString(WordAsWritten(word)), word_list_);
  item->setData(Qt::UserRole, FromUtf16(word));
  Recompute();
  return true;
}

void MatrixWindow::RemoveSelectedWords() {
  const QList<QListWidgetItem*> selected = word_list_->selectedItems();
  if (selected.isEmpty()) {
    return;
  }
  qDeleteAll(selected);
  Recompute();
}

void MatrixWindow::SetRowWidth(std::int32_t width) {
  row_width_ = std::max(1, width);
  width_box_->setValue(row_width_);
  Recompute();
}

void MatrixWindow::SetZoom(qreal zoom) {
  canvas_->SetZoom(zoom);
}

void MatrixWindow::OnWidthChoice(int index) {
  const int width = width_choice_->itemData(index).toInt();
  if (width > 0) {
    SetRowWidth(width);
  } else {
    width_box_->setFocus();
    width_box_->selectAll();
  }
}

void MatrixWindow::Recompute() {
  MatrixRequest request;
  request.word = word_;
  request.find = {skip_, position_, static_cast<std::int32_t>(word_.size())};
  request.row_width = row_width_;
  for (int k = 0; k < word_list_->count(); ++k) {
    request.other_words.push_back(
        word_list_->item(k)->data(Qt::UserRole).toString().toStdU16String());
  }
  const std::uint64_t generation = ++generation_;
  status_->setText(QStringLiteral("Building the matrix..."));
  pool_.start([this, generation, request, loaded = data_, file = data_file_]() mutable {
    QString failure;
    if (!loaded) {
      loaded = LoadMatrixData(file, failure);
    }
    std::shared_ptr<const Matrix> matrix;
    if (loaded && !SpellsAt(*loaded->text, request.word, request.find)) {
      failure = QStringLiteral("%1 is not spelled out at skip %2 from position %3 in %4.")
                    .arg(FromUtf16(request.word))
                    .arg(request.find.skip)
                    .arg(request.find.position)
                    .arg(QString::fromStdString(file.string()));
    } else if (loaded) {
      matrix = std::make_shared<const Matrix>(BuildMatrix(*loaded->text, request));
    }
    QMetaObject::invokeMethod(
        this,
        [this, generation, loaded, matrix, failure] { Show(generation, loaded, matrix, failure); },
        Qt::QueuedConnection);
  });
}

void MatrixWindow::Show(std::uint64_t generation, std::shared_ptr<const MatrixData> loaded,
                        std::shared_ptr<const Matrix> matrix, const QString& failure) {
  if (!data_) {
    data_ = std::move(loaded);
  }
  if (generation != generation_) {
    return;  // a later choice is being built
  }
  shown_generation_ = generation;
  failure_ = failure;
  matrix_ = std::move(matrix);
  canvas_->SetMatrix(matrix_);
  status_->setText(matrix_ ? QString::fromStdString(MatrixSummary(*matrix_)) : failure_);
  emit MatrixShown();
}

void MatrixWindow::ShowCell(std::optional<std::pair<std::int32_t, std::int32_t>> cell) {
  if (!matrix_) {
    return;
  }
  if (!cell) {
    status_->setText(QString::fromStdString(MatrixSummary(*matrix_)));
    canvas_->setToolTip(QString());
    return;
  }
  const auto [row, column] = *cell;
  const MatrixCell& at = matrix_->At(row, column);
  QString text =
      QStringLiteral("Row %1, column %2: ").arg(row + 1).arg(matrix_->first_column + column + 1);
  if (at.position == 0) {
    text += QStringLiteral("outside the text");
  } else {
    text += QStringLiteral("position %1, letter %2").arg(at.position).arg(QChar(at.letter));
    if (data_ && data_->verses) {
      if (const Verse* verse = data_->verses->VerseAt(at.position)) {
        text += QStringLiteral(", ") + QString::fromStdString(VerseReference(*verse));
      }
    }
  }
  status_->setText(text);
  canvas_->setToolTip(text);
}

const Matrix* MatrixWindow::Shown() const {
  return matrix_.get();
}

QString MatrixWindow::Status() const {
  return status_->text();
}

std::optional<QString> MatrixWindow::ExportTo(const QString& file) {
  if (!matrix_) {
    return QStringLiteral("There is no matrix to export yet.");
  }
  const std::optional<PictureFormat> format = PictureFormatOf(file);
  if (!format) {
    return QStringLiteral("The file name must end in .svg, .png or .pdf.");
  }
  return SaveMatrixPicture(*matrix_, *format, file);
}

void MatrixWindow::OnExport() {
  QString chosen;
  QString file = QFileDialog::getSaveFileName(
      this, QStringLiteral("Export matrix"),
      QStringLiteral("matrix-%1-%2.svg").arg(skip_).arg(position_),
      QStringLiteral("SVG picture (*.svg);;PNG picture (*.png);;PDF document (*.pdf)"), &chosen);
  if (file.isEmpty()) {
    return;
  }
  if (!PictureFormatOf(file)) {
    file += chosen.contains(QLatin1String("png"))   ? QStringLiteral(".png")
            : chosen.contains(QLatin1String("pdf")) ? QStringLiteral(".pdf")
                                                    : QStringLiteral(".svg");
  }
  if (const std::optional<QString> failure = ExportTo(file)) {
    QMessageBox::warning(this, windowTitle(), *failure);
  } else {
    status_->setText(QStringLiteral("Wrote %1").arg(file));
  }
}

}  // namespace quorel
