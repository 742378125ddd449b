// SPDX-License-Identifier: GPL-3.0-or-later
// The matrix window: the matrix picture of one find, with the choice of row width, other words
// to mark, zoom and export. Several may be open at once; each reads the data file and builds
// its matrix on a worker thread, so neither this window nor a running search waits for it.
#pragma once

#include <QString>
#include <QThreadPool>
#include <QWidget>
#include <cstdint>
#include <filesystem>
#include <memory>
#include <optional>
#include <string>

#include "matrix/matrix.h"

class QComboBox;
class QLabel;
class QLineEdit;
class QListWidget;
class QScrollArea;
class QSpinBox;

namespace quorel {

class MatrixCanvas;
struct MatrixData;

class MatrixWindow final : public QWidget {
  Q_OBJECT

 public:
  // The find of `word` (as typed or as the result box shows it) at `skip` from `position`, in
  // the data file `data_file`.
  MatrixWindow(const std::u16string& word, std::int32_t skip, std::int32_t position,
               std::filesystem::path data_file, QWidget* parent = nullptr);
  ~MatrixWindow() override;

  // Adds a word to mark; false, with the reason shown, when it is not 2 or more Hebrew letters.
  bool AddWord(const QString& typed);
  // Rows of `width` letters.
  void SetRowWidth(std::int32_t width);
  void SetZoom(qreal zoom);
  // Writes the picture shown to `file` (.svg, .png or .pdf); the failure's sentence, if any.
  std::optional<QString> ExportTo(const QString& file);

  // The matrix on show, once one is built from the latest choices; null before.
  const Matrix* Shown() const;
  bool IsUpToDate() const { return shown_generation_ == generation_ && matrix_ != nullptr; }
  QString Status() const;

 signals:
  // A matrix built from the latest choices is on show (or its failure is).
  void MatrixShown();

 private:
  void CreateControls();
  void Recompute();
  void Show(std::uint64_t generation, std::shared_ptr<const MatrixData> loaded,
            std::shared_ptr<const Matrix> matrix, const QString& failure);
  void ShowCell(std::optional<std::pair<std::int32_t, std::int32_t>> cell);
  void OnWidthChoice(int index);
  void OnExport();
  void RemoveSelectedWords();

  std::u16string word_;
  std::int32_t skip_;
  std::int32_t position_;
  std::filesystem::path data_file_;
  std::int32_t row_width_;

  QComboBox* width_choice_ = nullptr;
  QSpinBox* width_box_ = nullptr;
  QComboBox* zoom_choice_ = nullptr;
  QLineEdit* word_box_ = nullptr;
  QListWidget* word_list_ = nullptr;
  QScrollArea* scroll_ = nullptr;
  MatrixCanvas* canvas_ = nullptr;
  QLabel* status_ = nullptr;

  std::uint64_t generation_ = 0;
  std::uint64_t shown_generation_ = 0;
  std::shared_ptr<const MatrixData> data_;
  std::shared_ptr<const Matrix> matrix_;
  QString failure_;
  QThreadPool pool_;
};

}  // namespace quorel
