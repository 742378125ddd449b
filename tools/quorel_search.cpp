// SPDX-License-Identifier: GPL-3.0-or-later
// quorel-search: the search run of the window, from the command line.
//
//   quorel-search [--both] [--fold-finals] [--area | --json | --count | --refs] WORD MIN MAX
//   quorel-search -h | --help | --version
//
// Reads Quorel.DSF from the current directory, and its verse index Quorel.verses when there is
// one. stdout gets the result box's text (or, for scripts, one JSON object per find, the number
// of finds per skip, or one line of references per find), stderr the messages and the status
// word. Exit status: 0 done, 1 word refused, 2 usage or load failure, 3 stdout could
// not be written, 130 stopped by Ctrl-C.
#include <unistd.h>

#include <cstdio>
#include <cstring>
#include <filesystem>
#include <optional>
#include <string>
#include <vector>

#include "command_line.h"
#include "console_window.h"
#include "find_counts.h"
#include "find_references.h"
#include "json_finds.h"
#include "output_stream.h"
#include "reference_lines.h"
#include "result_text.h"
#include "search/search_run.h"
#include "text/utf.h"

namespace {

using quorel::kExitUsage;

constexpr int kExitDone = 0;
constexpr int kExitRefused = 1;
constexpr int kExitOutputFailed = 3;
constexpr int kExitInterrupted = 130;

constexpr char kUsage[] =
    "usage: quorel-search [--both] [--fold-finals] [--area | --json | --count | --refs]\n"
    "                     WORD MIN MAX\n"
    "       quorel-search -h | --help | --version\n"
    "Searches Quorel.DSF in the current directory for WORD spelled out at every skip from MIN\n"
    "to MAX. A WORD that starts with '-' goes after --.\n"
    "  --area         show the area around each find instead of one line\n"
    "  --json         one JSON object per find instead of the result text; with a verse index\n"
    "                 (Quorel.verses) also \"from\" and \"to\", the verses of the word's first\n"
    "                 and last letters\n"
    "  --count        only the number of finds per skip and in all, beside the number\n"
    "                 expected by chance\n"
    "  --refs         one line per find: skip, position and, with a verse index, the verses\n"
    "                 of the word's first and last letters\n"
    "  --both         also read the word backwards: every skip d is tried as -d too; finds come\n"
    "                 by skip size, -d before d, then by position\n"
    "  --fold-finals  a final form in the text matches its regular letter in WORD\n";
constexpr quorel::ProgramUsage kProgram{"quorel-search", kUsage};

// What stdout gets.
enum class Output { kResultText, kJson, kCount, kRefs };

struct Arguments {
  quorel::ConsoleInputs inputs;
  Output output = Output::kResultText;
  quorel::SearchOptions options;
};

// The sentence that says which of WORD, MIN and MAX are missing, when `given` are fewer.
std::string MissingSentence(std::size_t given) {
  constexpr const char* kMissing[] = {"WORD, MIN and MAX are missing", "MIN and MAX are missing",
                                      "MAX is missing"};
  return kMissing[given];
}

// Reads the command line into `arguments`; gives the exit status when the program is to end.
std::optional<int> ParseArguments(int argc, char** argv, Arguments& arguments) {
  CLI::App app;
  quorel::AddStandardFlags(app, kProgram);
  bool area = false;
  bool json = false;
  bool count = false;
  bool refs = false;
  std::vector<std::string> positional;
  app.add_flag("--area", area);
  app.add_flag("--json", json);
  app.add_flag("--count", count);
  app.add_flag("--refs", refs);
  app.add_flag("--both", arguments.options.both_directions);
  app.add_flag("--fold-finals", arguments.options.fold_finals);
  app.add_option("WORD MIN MAX", positional);
  if (const std::optional<int> exit = quorel::ParseCommandLine(app, kProgram, argc, argv)) {
    return exit;
  }
  // --area, --json, --count and --refs each choose what stdout shows; only one may be given.
  if (int{area} + int{json} + int{count} + int{refs} > 1) {
    return quorel::UsageError(kProgram, "choose one of --area, --json, --count and --refs");
  }
  if (positional.size() < 3) {
    return quorel::UsageError(kProgram, MissingSentence(positional.size()));
  }
  if (positional.size() > 3) {
    return quorel::UsageError(kProgram, "one argument too many: " + positional[3]);
  }
  arguments.inputs.area = area;
  arguments.output = json    ? Output::kJson
                     : count ? Output::kCount
                     : refs  ? Output::kRefs
                             : Output::kResultText;
  arguments.inputs.word = quorel::Utf8ToUtf16(positional[0]);
  arguments.inputs.min_skip = quorel::Utf8ToUtf16(positional[1]);
  arguments.inputs.max_skip = quorel::Utf8ToUtf16(positional[2]);
  return std::nullopt;
}

int ExitStatus(quorel::RunOutcome outcome) {
  switch (outcome) {
    case quorel::RunOutcome::kDone:
      return kExitDone;
    case quorel::RunOutcome::kTargetRefused:
      return kExitRefused;
    case quorel::RunOutcome::kLoadFailed:
      return kExitUsage;
    case quorel::RunOutcome::kOutputFailed:
      return kExitOutputFailed;
    case quorel::RunOutcome::kAborted:
    case quorel::RunOutcome::kResultBoxFull:
    case quorel::RunOutcome::kWindowGone:
      return kExitInterrupted;
  }
  return kExitUsage;
}

// What stdout gets, as a failure sentence names it.
std::string OutputName(Output output) {
  switch (output) {
    case Output::kResultText:
      return "the result text";
    case Output::kJson:
      return "the finds as JSON";
    case Output::kCount:
      return "the table of counts";
    case Output::kRefs:
      return "the references of the finds";
  }
  return "the output";
}

int OutputFailed(const quorel::OutputStream& out) {
  std::fprintf(stderr, "quorel-search: %s\n", out.FailureSentence().c_str());
  return kExitOutputFailed;
}

}  // namespace

int main(int argc, char** argv) {
  Arguments arguments;
  if (const std::optional<int> exit = ParseArguments(argc, argv, arguments)) {
    return *exit;
  }
  quorel::OutputStream out(STDOUT_FILENO, OutputName(arguments.output));
  if (out.Failed()) {
    return OutputFailed(out);  // stdout is closed: nothing found could be shown
  }
  const std::filesystem::path data_file = quorel::kDataFileName;
  // The window shows a verse index's refusal; it is made after the writers that need the index.
  quorel::ConsoleWindow* message_window = nullptr;
  quorel::FindReferences references(data_file, [&message_window](std::u16string_view sentence) {
    message_window->ShowMessage(sentence);
  });
  quorel::ResultTextWriter result_text(out, arguments.inputs.area);
  quorel::JsonFindWriter json(out, &references);
  quorel::FindCounter counter(arguments.options.fold_finals);
  quorel::ReferenceLineWriter reference_lines(out, references);
  quorel::FindSink* writer = &result_text;
  if (arguments.output == Output::kJson) {
    writer = &json;
  } else if (arguments.output == Output::kCount) {
    writer = &counter;
  } else if (arguments.output == Output::kRefs) {
    writer = &reference_lines;
  }
  quorel::FindTally tally(*writer);
  quorel::ConsoleWindow::CatchInterrupt();
  quorel::ConsoleWindow window(std::move(arguments.inputs), stderr, isatty(STDERR_FILENO) != 0,
                               tally);
  message_window = &window;
  if (isatty(STDOUT_FILENO) != 0) {
    // Finds on the same screen as the progress line start on a line of their own.
    out.BeforeWrite([&window] { window.ClearProgress(); });
  }

  const quorel::RunOutcome outcome = quorel::RunSearch(window, data_file, tally, arguments.options);
  const std::u16string_view status_word = quorel::StatusWord(outcome);
  if (arguments.output == Output::kCount && !status_word.empty()) {
    counter.Write(out);
  }
  out.Flush();
  window.ClearProgress();
  if (out.Failed()) {
    return OutputFailed(out);
  }
  if (!status_word.empty()) {
    std::fprintf(stderr, "%s\n", quorel::Utf16ToUtf8(status_word).c_str());
  }
  return ExitStatus(outcome);
}
