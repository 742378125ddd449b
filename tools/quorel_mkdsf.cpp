// SPDX-License-Identifier: GPL-3.0-or-later
// quorel-mkdsf: makes the data file Quorel.DSF from a Hebrew text, or a demo text.
//
//   quorel-mkdsf [--mc] [--strip-refs] [--force] [--truncate] INPUT [OUTPUT]
//   quorel-mkdsf --demo [--force] [OUTPUT]
//   quorel-mkdsf -h | --help | --version
//
// Exit status: 0 written, 1 nothing written (bad input, file exists, write failed), 2 usage.
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "command_line.h"
#include "mkdsf/conversion.h"
#include "mkdsf/data_file_writer.h"
#include "mkdsf/demo_text.h"
#include "mkdsf/text_length.h"
#include "text/data_file_bytes.h"
#include "text/letter_text.h"
#include "text/utf.h"
#include "text/verse_index.h"

namespace {

namespace fs = std::filesystem;
using namespace quorel::mkdsf;

constexpr int kExitWritten = 0;
constexpr int kExitNotWritten = 1;

constexpr char kUsage[] =
    "usage: quorel-mkdsf [--mc] [--strip-refs] [--force] [--truncate] INPUT [OUTPUT]\n"
    "       quorel-mkdsf --demo [--force] [OUTPUT]\n"
    "       quorel-mkdsf -h | --help | --version\n"
    "Writes the data file OUTPUT (default Quorel.DSF; in a folder, Quorel.DSF inside it) from\n"
    "the Hebrew text INPUT ('-' reads standard input): UTF-8 Hebrew with or without points, or\n"
    "with --mc the Michigan-Claremont transliteration. Only the letters are kept. Lines that\n"
    "start with references (\"1 1 1\" in Michigan-Claremont, or any with --strip-refs) also\n"
    "give the verse index beside OUTPUT (Quorel.verses for Quorel.DSF: OUTPUT's name with\n"
    "the extension .verses), for quorel-search --refs and --json;\n"
    "an old index there is removed when the new text has none.\n"
    "  --mc          INPUT is in the Michigan-Claremont transliteration\n"
    "  --strip-refs  drop a verse reference at the start of each line (\"1:1\", \"Gen 1:1\")\n"
    "                and write the verse index beside OUTPUT from them\n"
    "  --force       replace OUTPUT if it exists\n"
    "  --truncate    write the first 304805 letters of a longer text\n"
    "  --demo        write the demo text: random letters with a few planted words\n";
constexpr quorel::ProgramUsage kProgram{"quorel-mkdsf", kUsage};

struct Arguments {
  ConversionOptions conversion;
  bool force = false;
  bool truncate = false;
  bool demo = false;
  std::string input;
  fs::path output = quorel::kDataFileName;
};

// Reads the command line into `arguments`; gives the exit status when the program is to end.
std::optional<int> ParseArguments(int argc, char** argv, Arguments& arguments) {
  CLI::App app;
  quorel::AddStandardFlags(app, kProgram);
  bool mc = false;
  std::vector<std::string> positional;
  app.add_flag("--mc", mc);
  app.add_flag("--strip-refs", arguments.conversion.strip_references);
  app.add_flag("--force", arguments.force);
  app.add_flag("--truncate", arguments.truncate);
  app.add_flag("--demo", arguments.demo);
  app.add_option("FILES", positional);
  if (const std::optional<int> exit = quorel::ParseCommandLine(app, kProgram, argc, argv)) {
    return exit;
  }
  if (mc) {
    arguments.conversion.form = TextForm::kMichiganClaremont;
  }
  const std::size_t inputs = arguments.demo ? 0 : 1;
  if (positional.size() < inputs) {
    return quorel::UsageError(kProgram, "INPUT is missing");
  }
  if (positional.size() > inputs + 1) {
    return quorel::UsageError(kProgram, "one argument too many: " + positional[inputs + 1] +
                                            (arguments.demo ? " (--demo takes no INPUT)" : ""));
  }
  if (std::find(positional.begin(), positional.end(), "") != positional.end()) {
    return quorel::UsageError(kProgram, "an empty name was given for a file");
  }
  if (inputs == 1) {
    arguments.input = positional[0];
  }
  if (positional.size() == inputs + 1) {
    arguments.output = positional[inputs];
  }
  return std::nullopt;
}

void Fail(const std::string& sentence) {
  std::fprintf(stderr, "quorel-mkdsf: %s\n", sentence.c_str());
}

// A folder given as OUTPUT gets the data file under its usual name.
fs::path ResolveOutput(const fs::path& output) {
  std::error_code ignored;
  return fs::is_directory(output, ignored) ? output / quorel::kDataFileName : output;
}

std::string InputName(const std::string& input) {
  return input == "-" ? "standard input" : input;
}

// Why OUTPUT must not be written, if it must not: it is no regular file (a device, a named pipe,
// a symbolic link, which is never followed), or it exists and --force was not given, or it is
// the INPUT itself.
std::optional<std::string> OutputRefusal(const Arguments& arguments, const fs::path& output) {
  struct stat target {};
  if (lstat(output.c_str(), &target) != 0) {
    return std::nullopt;  // nothing there: a new file
  }
  const std::string name = output.string();
  if (S_ISLNK(target.st_mode)) {
    return name +
           " is a symbolic link; nothing written (name the file it points to, or remove "
           "the link)";
  }
  if (S_ISCHR(target.st_mode) || S_ISBLK(target.st_mode)) {
    return name + " is a device, not a regular file; nothing written";
  }
  if (S_ISFIFO(target.st_mode)) {
    return name + " is a named pipe, not a regular file; nothing written";
  }
  if (!S_ISREG(target.st_mode)) {
    return name + " is not a regular file; nothing written";
  }
  struct stat source {};
  const bool source_known = arguments.demo           ? false
                            : arguments.input == "-" ? fstat(STDIN_FILENO, &source) == 0
                                                     : stat(arguments.input.c_str(), &source) == 0;
  if (source_known && source.st_dev == target.st_dev && source.st_ino == target.st_ino) {
    return InputName(arguments.input) + " and " + name +
           " are the same file; nothing written (write the data file elsewhere)";
  }
  if (!arguments.force) {
    return name + " already exists; pass --force to replace it";
  }
  return std::nullopt;
}

// Far more than any pointed text of this size takes; a larger input is no such text (or never
// ends, like /dev/zero).
constexpr std::size_t kLargestInput = std::size_t{256} << 20;

// Whether the first bytes of the input are all letters of a data file.
bool LooksLikeADataFile(std::string_view first_bytes) {
  return !first_bytes.empty() && std::all_of(first_bytes.begin(), first_bytes.end(), [](char byte) {
    return quorel::IsLetterByte(static_cast<unsigned char>(byte));
  });
}

std::string ReadFailure(const std::string& input, int error) {
  const std::string cause = error == EBADF    ? "it is closed"
                            : error == EISDIR ? "it is a folder"
                                              : std::strerror(error);
  return "Could not read " + InputName(input) + ": " + cause;
}

// The input, opened for reading: standard input for "-".
int OpenInput(const std::string& input) {
  if (input == "-") {
    return STDIN_FILENO;
  }
  return open(input.c_str(), O_RDONLY | O_CLOEXEC);
}

// What a text that is not UTF-8 most likely is, and what to do with it.
std::string NotUtf8Hint(quorel::Utf8Fault fault, bool looks_like_data_file) {
  if (looks_like_data_file) {
    return " (it looks like a data file already: use it as it is)";
  }
  if (fault == quorel::Utf8Fault::kStrayByte || fault == quorel::Utf8Fault::kCutShort) {
    return " (a text in another encoding, such as Windows-1255, must first be converted to "
           "UTF-8, for example with: iconv -f WINDOWS-1255 -t UTF-8)";
  }
  return "";
}

// Reads all of the input into `converter`; false, having said why, when it cannot.
bool ConvertInput(const Arguments& arguments, TextConverter& converter) {
  const std::string& input = arguments.input;
  std::error_code error;
  if (input != "-" && fs::is_directory(input, error)) {
    Fail("Could not read " + input + ": it is a folder");
    return false;
  }
  const int descriptor = OpenInput(input);
  if (descriptor < 0) {
    Fail(ReadFailure(input, errno));
    return false;
  }
  std::vector<char> buffer(std::size_t{1} << 16);
  std::size_t total = 0;
  bool looks_like_data_file = false;
  bool ok = true;
  for (;;) {
    const ssize_t got = read(descriptor, buffer.data(), buffer.size());
    if (got < 0 && errno == EINTR) {
      continue;
    }
    if (got < 0) {
      Fail(ReadFailure(input, errno));
      ok = false;
      break;
    }
    if (got == 0) {
      break;
    }
    const std::string_view piece(buffer.data(), static_cast<std::size_t>(got));
    if (total == 0) {
      looks_like_data_file = LooksLikeADataFile(piece);
    }
    total += piece.size();
    if (total > kLargestInput) {
      Fail(InputName(input) + " is larger than " + std::to_string(kLargestInput >> 20) +
           " MiB, far more than a text of " + std::to_string(quorel::TEXT_LENGTH) +
           " letters; nothing written");
      ok = false;
      break;
    }
    if (!converter.Feed(piece)) {
      break;
    }
  }
  if (descriptor != STDIN_FILENO) {
    close(descriptor);
  }
  if (ok && !converter.Finish()) {
    const NotUtf8& failure = *converter.Failure();
    Fail("Could not convert " + InputName(input) + ": " + NotUtf8Sentence(failure) +
         NotUtf8Hint(failure.fault, looks_like_data_file));
    ok = false;
  }
  return ok;
}

std::string NoLettersSentence(const Arguments& arguments) {
  if (arguments.conversion.form == TextForm::kMichiganClaremont) {
    return arguments.input +
           " holds no Michigan-Claremont letters ()BGDHWZX+YKLMNS(PCQR$T); "
           "nothing written";
  }
  return arguments.input +
         " holds no Hebrew letters; nothing written (for a text in the "
         "Michigan-Claremont transliteration, pass --mc)";
}

// Reports what the letter count means for the window; false when nothing is to be written.
bool JudgeLength(const Arguments& arguments, std::string& letters, std::size_t found) {
  switch (FitToTextLength(letters, arguments.truncate)) {
    case LengthVerdict::kComplete:
      return true;
    case LengthVerdict::kShort:
      std::fprintf(stderr,
                   "quorel-mkdsf: warning: %zu letters, fewer than the %d of a complete text; the "
                   "window leaves positions %zu to %d blank\n",
                   found, quorel::TEXT_LENGTH, found + 1, quorel::TEXT_LENGTH);
      return true;
    case LengthVerdict::kEmpty:
      Fail(NoLettersSentence(arguments));
      return false;
    case LengthVerdict::kTooLong:
      Fail(arguments.input + " holds " + std::to_string(found) + " letters, more than the " +
           std::to_string(quorel::TEXT_LENGTH) +
           " the window can load; nothing written (pass --truncate to write the first " +
           std::to_string(quorel::TEXT_LENGTH) + ")");
      return false;
    case LengthVerdict::kTruncated:
      std::fprintf(stderr, "quorel-mkdsf: %s holds %zu letters; only the first %d are written\n",
                   arguments.input.c_str(), found, quorel::TEXT_LENGTH);
      return true;
  }
  return false;
}

// Writes the data file and its verse index (none when `index` is empty: an old one goes).
bool Write(DataFileWriter& writer, const std::string& letters, const std::string& index,
           bool force) {
  const std::string failure =
      writer.Commit(letters, index, force ? Overwrite::kReplace : Overwrite::kRefuse);
  if (!failure.empty()) {
    Fail(failure);
    return false;
  }
  return true;
}

std::string Utf8(std::u32string_view letters) {
  return quorel::Utf16ToUtf8(std::u16string(letters.begin(), letters.end()));
}

void ReportDemo(const fs::path& output) {
  std::printf(
      "Wrote a DEMO text to %s: %d random letters, not a real text.\n"
      "Words planted in it (search for the word with a skip range that holds its skip):\n",
      output.c_str(), quorel::TEXT_LENGTH);
  for (const PlantedWord& word : DemoPlantedWords()) {
    std::printf("  skip %-5d position %-7d %s\n", word.skip, word.position,
                Utf8(word.typed).c_str());
  }
  std::printf(
      "To search a real text, make its data file from a Hebrew text file:\n"
      "  quorel-mkdsf --force TEXT.txt %s          (UTF-8 Hebrew, points allowed)\n"
      "  quorel-mkdsf --mc --force TEXT.mc.txt %s  (Michigan-Claremont)\n",
      output.c_str(), output.c_str());
}

int MakeDemo(const Arguments& arguments, DataFileWriter& writer, const fs::path& output) {
  if (!Write(writer, DemoText(), "", arguments.force)) {
    return kExitNotWritten;
  }
  ReportDemo(output);
  return kExitWritten;
}

int Convert(const Arguments& arguments, DataFileWriter& writer, const fs::path& output) {
  // One letter more than a data file holds tells a text that is too long.
  TextConverter converter(arguments.conversion, static_cast<std::size_t>(quorel::TEXT_LENGTH) + 1);
  if (!ConvertInput(arguments, converter)) {
    return kExitNotWritten;
  }
  std::string& letters = converter.Letters();
  if (!JudgeLength(arguments, letters, converter.LetterCount())) {
    return kExitNotWritten;
  }
  const VerseCollector& verses = converter.Verses();
  if (!verses.Note().empty()) {
    std::fprintf(stderr, "quorel-mkdsf: warning: %s\n", verses.Note().c_str());
  }
  const std::string index = VerseIndexText(converter.Verses().Verses(), letters.size());
  if (!Write(writer, letters, index, arguments.force)) {
    return kExitNotWritten;
  }
  std::printf("Wrote %zu letters to %s\n", letters.size(), output.c_str());
  if (!index.empty()) {
    const auto verse_count = std::count(index.begin(), index.end(), '\n');
    std::printf("Wrote the verse index of %td verses to %s\n", verse_count,
                quorel::VerseIndexPathFor(output).c_str());
  }
  return kExitWritten;
}

}  // namespace

int main(int argc, char** argv) {
  Arguments arguments;
  if (const std::optional<int> exit = ParseArguments(argc, argv, arguments)) {
    return *exit;
  }
  const fs::path output = ResolveOutput(arguments.output);
  if (const std::optional<std::string> refusal = OutputRefusal(arguments, output)) {
    Fail(*refusal);
    return kExitNotWritten;
  }
  DataFileWriter writer(output);
  if (!writer.Failure().empty()) {
    Fail(writer.Failure());
    return kExitNotWritten;
  }
  return arguments.demo ? MakeDemo(arguments, writer, output) : Convert(arguments, writer, output);
}
