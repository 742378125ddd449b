// SPDX-License-Identifier: GPL-3.0-or-later
// quorel-matrix: the matrix picture of one find, from the command line.
//
//   quorel-matrix [--width W | --split N] [--rows R] [--also WORD]...
//                 [--svg | --png | --pdf | --text] SKIP POSITION WORD [OUTPUT]
//
// Reads Quorel.DSF from the current directory, checks that WORD is spelled out at SKIP from
// POSITION, and writes the matrix around it: a picture (PNG, SVG or PDF, drawn as the window
// draws it) or plain text. OUTPUT defaults to standard output; its ending chooses the format
// when no option does. Exit status: 0 written, 1 the find is not in the text or the output
// could not be written, 2 usage error or data file not loaded.
#include <unistd.h>

#include <CLI/CLI.hpp>
#include <QByteArray>
#include <QGuiApplication>
#include <QSaveFile>
#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <optional>
#include <string>
#include <vector>

#include "matrix/matrix.h"
#include "matrix/matrix_plain_text.h"
#include "matrix_draw/matrix_export.h"
#include "text/letter_text.h"
#include "text/utf.h"

namespace {

constexpr int kExitWritten = 0;
constexpr int kExitNotWritten = 1;
constexpr int kExitUsage = 2;

enum class Format { kText, kPng, kSvg, kPdf };

struct Options {
  std::int32_t skip = 0;
  std::int32_t position = 0;
  std::string word;
  std::string output;
  std::optional<std::int32_t> width;
  std::optional<std::int32_t> split;
  std::int32_t rows = quorel::kDefaultMarginRows;
  std::vector<std::string> also;
  bool svg = false;
  bool png = false;
  bool pdf = false;
  bool text = false;
};

void Fail(const std::string& sentence) {
  std::fprintf(stderr, "quorel-matrix: %s\n", sentence.c_str());
}

bool ToStandardOutput(const Options& options) {
  return options.output.empty() || options.output == "-";
}

// The format the options or OUTPUT's ending ask for; text when neither says.
std::optional<Format> ChooseFormat(const Options& options) {
  if (options.svg)
    return Format::kSvg;
  if (options.png)
    return Format::kPng;
  if (options.pdf)
    return Format::kPdf;
  if (options.text || ToStandardOutput(options))
    return Format::kText;
  const QString name = QString::fromStdString(options.output);
  if (name.toLower().endsWith(QLatin1String(".txt")))
    return Format::kText;
  const std::optional<quorel::PictureFormat> picture = quorel::PictureFormatOf(name);
  if (!picture)
    return std::nullopt;
  switch (*picture) {
    case quorel::PictureFormat::kPng:
      return Format::kPng;
    case quorel::PictureFormat::kSvg:
      return Format::kSvg;
    case quorel::PictureFormat::kPdf:
      return Format::kPdf;
  }
  return std::nullopt;
}

// Builds the request from the options, or says in one sentence what is wrong with them.
std::optional<quorel::MatrixRequest> MakeRequest(const Options& options, std::string& fault) {
  quorel::MatrixRequest request;
  request.word = quorel::PrepareMatrixWord(quorel::Utf8ToUtf16(options.word));
  if (request.word.empty()) {
    fault = "WORD must be 2 or more Hebrew letters, not \"" + options.word + "\"";
    return std::nullopt;
  }
  if (options.skip == 0) {
    fault = "SKIP must not be 0";
    return std::nullopt;
  }
  request.find = {options.skip, options.position, static_cast<std::int32_t>(request.word.size())};
  if (options.split) {
    request.row_width = quorel::SplitRowWidth(options.skip, *options.split);
    if (request.row_width < quorel::kMinRowWidth) {
      fault = "--split " + std::to_string(*options.split) + " would give rows of " +
              std::to_string(request.row_width) + " letter; rows need at least " +
              std::to_string(quorel::kMinRowWidth);
      return std::nullopt;
    }
  } else if (options.width) {
    request.row_width = *options.width;
  }
  request.margin_rows = options.rows;
  if (options.also.size() > quorel::kMaxOtherWords) {
    fault = "at most " + std::to_string(quorel::kMaxOtherWords) + " words can be given with --also";
    return std::nullopt;
  }
  for (const std::string& typed : options.also) {
    std::u16string word = quorel::PrepareMatrixWord(quorel::Utf8ToUtf16(typed));
    if (word.empty()) {
      fault = "--also needs 2 or more Hebrew letters, not \"" + typed + "\"";
      return std::nullopt;
    }
    request.other_words.push_back(std::move(word));
  }
  return request;
}

// Why the find is not in the text, in one sentence.
std::string NotInText(const quorel::MatrixText& text, const quorel::MatrixRequest& request,
                      const std::string& typed) {
  const quorel::MatrixFind& find = request.find;
  const std::string where =
      "at skip " + std::to_string(find.skip) + " from position " + std::to_string(find.position);
  std::u16string there;
  for (std::int32_t j = 0; j < find.length; ++j) {
    const std::int64_t position = find.LetterPosition(j);
    if (position < 1 || position > text.Length()) {
      return "\"" + typed + "\" " + where + " would need position " + std::to_string(position) +
             ", outside the text's " + std::to_string(text.Length()) + " letters";
    }
    there += text.At(static_cast<std::int32_t>(position));
  }
  return "\"" + typed + "\" is not spelled out " + where + ": the letters there are \"" +
         quorel::Utf16ToUtf8(there) + "\"";
}

// Writes all of `bytes` to standard output; false after saying why when that failed.
bool WriteStandardOutput(const QByteArray& bytes) {
  const std::size_t size = static_cast<std::size_t>(bytes.size());
  if (std::fwrite(bytes.constData(), 1, size, stdout) != size || std::fflush(stdout) != 0) {
    Fail(std::string("cannot write to standard output: ") + std::strerror(errno));
    return false;
  }
  return true;
}

bool WriteText(const Options& options, const quorel::Matrix& matrix) {
  const std::string text = quorel::MatrixPlainText(matrix);
  const QByteArray bytes(text.data(), static_cast<qsizetype>(text.size()));
  if (ToStandardOutput(options)) {
    return WriteStandardOutput(bytes);
  }
  // Plain text is written through the same whole-or-nothing save as the pictures.
  QSaveFile out(QString::fromStdString(options.output));
  if (!out.open(QIODevice::WriteOnly) || out.write(bytes) != bytes.size() || !out.commit()) {
    Fail("could not write " + options.output + ": " + out.errorString().toStdString());
    return false;
  }
  return true;
}

bool WritePicture(const Options& options, const quorel::Matrix& matrix,
                  quorel::PictureFormat format) {
  if (ToStandardOutput(options)) {
    if (format != quorel::PictureFormat::kSvg && isatty(STDOUT_FILENO)) {
      Fail("will not write a binary picture to a terminal; give an OUTPUT file");
      return false;
    }
    return WriteStandardOutput(quorel::MatrixPictureBytes(matrix, format));
  }
  if (const auto failure =
          quorel::SaveMatrixPicture(matrix, format, QString::fromStdString(options.output))) {
    Fail(failure->toStdString());
    return false;
  }
  return true;
}

// Qt's own notes go to stderr as they would, except the one that an unset XDG_RUNTIME_DIR
// causes, which says nothing about the picture.
void ForwardQtMessage(QtMsgType, const QMessageLogContext&, const QString& message) {
  if (!message.startsWith(QLatin1String("QStandardPaths:"))) {
    std::fprintf(stderr, "quorel-matrix: %s\n", message.toLocal8Bit().constData());
  }
}

}  // namespace

int main(int argc, char** argv) {
  Options options;
  CLI::App app(
      "Writes the matrix of a find in Quorel.DSF (current directory): the text in rows around\n"
      "WORD, spelled out at SKIP from POSITION, with the find and other words marked.",
      "quorel-matrix");
  app.set_version_flag("--version", std::string("quorel-matrix ") + QUOREL_VERSION);
  auto* width = app.add_option("--width", options.width, "letters per row (default: |SKIP|)")
                    ->check(CLI::Range(quorel::kMinRowWidth, quorel::kMaxRowWidth));
  auto* split = app.add_option("--split", options.split,
                               "rows of |SKIP|/N letters, rounded to the nearest (halves up)")
                    ->check(CLI::Range(1, quorel::TEXT_LENGTH));
  width->excludes(split);
  app.add_option("--rows", options.rows, "rows shown before and after the find (default 10)")
      ->check(CLI::Range(0, quorel::kMaxMarginRows));
  app.add_option("--also", options.also, "another word to mark; may be repeated")
      ->allow_extra_args(false);
  auto* svg = app.add_flag("--svg", options.svg, "write an SVG picture");
  auto* png = app.add_flag("--png", options.png, "write a PNG picture");
  auto* pdf = app.add_flag("--pdf", options.pdf, "write a PDF picture");
  auto* text = app.add_flag("--text", options.text, "write plain rows of letters (default)");
  for (CLI::Option* a : {svg, png, pdf, text}) {
    for (CLI::Option* b : {svg, png, pdf, text}) {
      if (a != b)
        a->excludes(b);
    }
  }
  app.add_option("SKIP", options.skip, "the find's skip; negative reads backwards")->required();
  app.add_option("POSITION", options.position, "the position of the word's first letter")
      ->required()
      ->check(CLI::Range(1, quorel::TEXT_LENGTH));
  app.add_option("WORD", options.word, "the word found")->required();
  app.add_option("OUTPUT", options.output,
                 "file to write (default standard output); .png, .svg, .pdf or .txt chooses the "
                 "format when no option does");
  try {
    app.parse(argc, argv);
  } catch (const CLI::CallForVersion& version) {
    std::printf("%s\n", version.what());
    return kExitWritten;
  } catch (const CLI::Success&) {
    std::fputs(app.help().c_str(), stdout);
    return kExitWritten;
  } catch (const CLI::ParseError& error) {
    Fail(std::string(error.what()) + " (see --help)");
    return kExitUsage;
  }

  const std::optional<Format> format = ChooseFormat(options);
  if (!format) {
    Fail("cannot tell the format from the name " + options.output +
         "; give --png, --svg, --pdf or --text");
    return kExitUsage;
  }
  std::string fault;
  const std::optional<quorel::MatrixRequest> request = MakeRequest(options, fault);
  if (!request) {
    Fail(fault);
    return kExitUsage;
  }
  const quorel::LoadResult load = quorel::LoadLetterText();
  if (!load.text) {
    Fail(load.failure);
    return kExitUsage;
  }
  const quorel::MatrixText letters(load.text->FileLetters());
  if (!quorel::SpellsAt(letters, request->word, request->find)) {
    Fail(NotInText(letters, *request, options.word));
    return kExitNotWritten;
  }
  const quorel::Matrix matrix = quorel::BuildMatrix(letters, *request);

  if (*format == Format::kText) {
    return WriteText(options, matrix) ? kExitWritten : kExitNotWritten;
  }
  // Pictures are drawn off screen: no display is needed or used.
  qputenv("QT_QPA_PLATFORM", "offscreen");
  qInstallMessageHandler(ForwardQtMessage);
  int toolkit_argc = 1;
  QGuiApplication toolkit(toolkit_argc, argv);
  const quorel::PictureFormat picture = *format == Format::kPng   ? quorel::PictureFormat::kPng
                                        : *format == Format::kSvg ? quorel::PictureFormat::kSvg
                                                                  : quorel::PictureFormat::kPdf;
  return WritePicture(options, matrix, picture) ? kExitWritten : kExitNotWritten;
}
