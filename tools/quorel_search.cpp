// quorel-search: the search run of the window, from the command line.
//
//   quorel-search [--area | --json | --count] WORD MIN MAX
//   quorel-search -h | --help | --version
//
// Reads Quorel.DSF from the current directory. stdout gets the result box's text (or, for
// scripts, one JSON object per find, or the number of finds per skip), stderr the messages and
// the status word. Exit status: 0 done, 1 word refused, 2 usage or load failure, 3 stdout could
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
#include "json_finds.h"
#include "output_stream.h"
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
    "usage: quorel-search [--area | --json | --count] WORD MIN MAX\n"
    "       quorel-search -h | --help | --version\n"
    "Searches Quorel.DSF in the current directory for WORD spelled out at every skip from MIN\n"
    "to MAX. --area shows the area around each find instead of one line; --json writes one\n"
    "JSON object per find instead of the result text; --count writes only the number of finds\n"
    "per skip and in all, beside the number expected by chance. A WORD that starts with '-'\n"
    "goes after --.\n";
constexpr quorel::ProgramUsage kProgram{"quorel-search", kUsage};

// What stdout gets.
enum class Output { kResultText, kJson, kCount };

struct Arguments {
  quorel::ConsoleInputs inputs;
  Output output = Output::kResultText;
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
  std::vector<std::string> positional;
  app.add_flag("--area", area);
  app.add_flag("--json", json);
  app.add_flag("--count", count);
  app.add_option("WORD MIN MAX", positional);
  if (const std::optional<int> exit = quorel::ParseCommandLine(app, kProgram, argc, argv)) {
    return exit;
  }
  // --area, --json and --count each choose what stdout shows; only one may be given.
  if (int{area} + int{json} + int{count} > 1) {
    return quorel::UsageError(kProgram, "choose one of --area, --json and --count");
  }
  if (positional.size() < 3) {
    return quorel::UsageError(kProgram, MissingSentence(positional.size()));
  }
  if (positional.size() > 3) {
    return quorel::UsageError(kProgram, "one argument too many: " + positional[3]);
  }
  arguments.inputs.area = area;
  arguments.output = json ? Output::kJson : count ? Output::kCount : Output::kResultText;
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
  quorel::ResultTextWriter result_text(out, arguments.inputs.area);
  quorel::JsonFindWriter json(out);
  quorel::FindCounter counter;
  quorel::FindSink* writer = &result_text;
  if (arguments.output == Output::kJson) {
    writer = &json;
  } else if (arguments.output == Output::kCount) {
    writer = &counter;
  }
  quorel::FindTally tally(*writer);
  quorel::ConsoleWindow::CatchInterrupt();
  quorel::ConsoleWindow window(std::move(arguments.inputs), stderr, isatty(STDERR_FILENO) != 0,
                               tally);
  if (isatty(STDOUT_FILENO) != 0) {
    // Finds on the same screen as the progress line start on a line of their own.
    out.BeforeWrite([&window] { window.ClearProgress(); });
  }

  const quorel::RunOutcome outcome =
      quorel::RunSearch(window, std::filesystem::path(quorel::kDataFileName), tally);
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
