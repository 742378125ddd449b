// quorel-mkdsf: makes the data file Quorel.DSF from a Hebrew text, or a demo text.
//
//   quorel-mkdsf [--mc] [--strip-refs] [--force] [--truncate] INPUT [OUTPUT]
//   quorel-mkdsf --demo [--force] [OUTPUT]
//   quorel-mkdsf -h | --help | --version
//
// Exit status: 0 written, 1 nothing written (bad input, file exists, write failed), 2 usage.
#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "command_line.h"
#include "mkdsf/conversion.h"
#include "mkdsf/data_file_writer.h"
#include "mkdsf/demo_text.h"
#include "mkdsf/text_length.h"
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

// Far more than any pointed text of this size takes; a larger input is no such text (or never
// ends, like /dev/zero), and reading it would only fill the memory.
constexpr std::size_t kLargestInput = std::size_t{256} << 20;

// Reads all of `in`, up to one byte more than kLargestInput.
std::string ReadUpToLimit(std::istream& in) {
  std::string text;
  char buffer[1 << 16];
  while (text.size() <= kLargestInput && in.read(buffer, sizeof buffer).gcount() > 0) {
    text.append(buffer, static_cast<std::size_t>(in.gcount()));
  }
  return text;
}

std::optional<std::string> ReadInput(const std::string& input) {
  std::error_code error;
  if (input != "-" && fs::is_directory(input, error)) {
    Fail("Could not read " + input + ": it is a folder");
    return std::nullopt;
  }
  std::ifstream file;
  if (input != "-") {
    file.open(input, std::ios::binary);
    if (!file) {
      Fail("Could not read " + input + ": " + std::strerror(errno));
      return std::nullopt;
    }
  }
  std::istream& in = input == "-" ? std::cin : file;
  std::string text = ReadUpToLimit(in);
  if (in.bad()) {
    Fail("Could not read " + input + ": " + std::strerror(errno));
    return std::nullopt;
  }
  if (text.size() > kLargestInput) {
    Fail(input + " is larger than " + std::to_string(kLargestInput >> 20) +
         " MiB, far more than a text of " + std::to_string(quorel::TEXT_LENGTH) +
         " letters; nothing written");
    return std::nullopt;
  }
  return text;
}

// What a text that is not UTF-8 most likely is, and what to do with it.
std::string NotUtf8Hint(std::string_view input) {
  const bool letter_bytes_only = std::all_of(input.begin(), input.end(), [](char byte) {
    return static_cast<unsigned char>(byte) >= 0x80 && static_cast<unsigned char>(byte) <= 0x9A;
  });
  if (letter_bytes_only) {
    return " (it looks like a data file already: use it as it is)";
  }
  return " (a text in another encoding, such as Windows-1255, must first be converted to UTF-8, "
         "for example with: iconv -f WINDOWS-1255 -t UTF-8)";
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
bool JudgeLength(const Arguments& arguments, std::string& letters) {
  const std::size_t found = letters.size();
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
bool Write(const fs::path& output, const std::string& letters, const std::string& index,
           bool force) {
  const std::string failure = WriteDataFileAndIndex(
      output, letters, index, force ? Overwrite::kReplace : Overwrite::kRefuse);
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

int MakeDemo(const Arguments& arguments, const fs::path& output) {
  if (!Write(output, DemoText(), "", arguments.force)) {
    return kExitNotWritten;
  }
  ReportDemo(output);
  return kExitWritten;
}

int Convert(const Arguments& arguments, const fs::path& output) {
  const std::optional<std::string> input = ReadInput(arguments.input);
  if (!input) {
    return kExitNotWritten;
  }
  Conversion conversion = ConvertText(*input, arguments.conversion);
  if (!conversion.failure.empty()) {
    Fail("Could not convert " + arguments.input + ": " + conversion.failure + NotUtf8Hint(*input));
    return kExitNotWritten;
  }
  if (!JudgeLength(arguments, conversion.letters)) {
    return kExitNotWritten;
  }
  if (!conversion.verse_note.empty()) {
    std::fprintf(stderr, "quorel-mkdsf: warning: %s\n", conversion.verse_note.c_str());
  }
  const std::string index = VerseIndexText(conversion.verses, conversion.letters.size());
  if (!Write(output, conversion.letters, index, arguments.force)) {
    return kExitNotWritten;
  }
  std::printf("Wrote %zu letters to %s\n", conversion.letters.size(), output.c_str());
  if (!index.empty()) {
    const auto verses = std::count(index.begin(), index.end(), '\n');
    std::printf("Wrote the verse index of %td verses to %s\n", verses,
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
  std::error_code ignored;
  if (!arguments.force && fs::exists(fs::symlink_status(output, ignored))) {
    Fail(output.string() + " already exists; pass --force to replace it");
    return kExitNotWritten;
  }
  return arguments.demo ? MakeDemo(arguments, output) : Convert(arguments, output);
}
