// quorel-search: the search run of the window, from the command line.
//
//   quorel-search [--area | --json | --count] WORD MIN MAX
//
// Reads Quorel.DSF from the current directory. stdout gets the result box's text (or, for
// scripts, one JSON object per find, or the number of finds per skip), stderr the messages and
// the status word. Exit status: 0 done, 1 word refused, 2 usage or load failure, 130 stopped by
// Ctrl-C.
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <string>
#include <vector>

#include "console_window.h"
#include "find_counts.h"
#include "json_finds.h"
#include "search/search_run.h"
#include "text/utf.h"

namespace {

constexpr int kExitDone = 0;
constexpr int kExitRefused = 1;
constexpr int kExitUsage = 2;
constexpr int kExitInterrupted = 130;

constexpr char kUsage[] =
    "usage: quorel-search [--area | --json | --count] WORD MIN MAX\n"
    "Searches Quorel.DSF in the current directory for WORD spelled out at every skip from MIN\n"
    "to MAX. --area shows the area around each find instead of one line; --json writes one\n"
    "JSON object per find instead of the result text; --count writes only the number of finds\n"
    "per skip and in all, beside the number expected by chance.\n";

// What stdout gets.
enum class Output { kResultText, kJson, kCount };

struct Arguments {
  quorel::ConsoleInputs inputs;
  Output output = Output::kResultText;
  bool help = false;
};

// --area, --json and --count each choose what stdout shows; only one may be given.
bool ChooseOutput(Arguments& arguments, const std::string& option) {
  const bool chosen = arguments.inputs.area || arguments.output != Output::kResultText;
  if (chosen) {
    std::fprintf(stderr, "quorel-search: choose one of --area, --json and --count, not %s too\n",
                 option.c_str());
    return false;
  }
  if (option == "--area") {
    arguments.inputs.area = true;
  } else {
    arguments.output = option == "--json" ? Output::kJson : Output::kCount;
  }
  return true;
}

bool ParseArguments(int argc, char** argv, Arguments& arguments) {
  std::vector<std::string> positional;
  bool options_done = false;
  for (int k = 1; k < argc; ++k) {
    const std::string argument = argv[k];
    if (!options_done && positional.empty() && argument.rfind("--", 0) == 0) {
      if (argument == "--") {
        options_done = true;
      } else if (argument == "--area" || argument == "--json" || argument == "--count") {
        if (!ChooseOutput(arguments, argument)) {
          return false;
        }
      } else if (argument == "--help" || argument == "-h") {
        arguments.help = true;
      } else {
        std::fprintf(stderr, "quorel-search: unknown option %s\n", argument.c_str());
        return false;
      }
      continue;
    }
    positional.push_back(argument);
  }
  if (arguments.help) {
    return true;
  }
  if (positional.size() != 3) {
    return false;
  }
  arguments.inputs.word = quorel::Utf8ToUtf16(positional[0]);
  arguments.inputs.min_skip = quorel::Utf8ToUtf16(positional[1]);
  arguments.inputs.max_skip = quorel::Utf8ToUtf16(positional[2]);
  return true;
}

int ExitStatus(quorel::RunOutcome outcome) {
  switch (outcome) {
    case quorel::RunOutcome::kDone:
      return kExitDone;
    case quorel::RunOutcome::kTargetRefused:
      return kExitRefused;
    case quorel::RunOutcome::kLoadFailed:
      return kExitUsage;
    case quorel::RunOutcome::kAborted:
    case quorel::RunOutcome::kResultBoxFull:
    case quorel::RunOutcome::kWindowGone:
      return kExitInterrupted;
  }
  return kExitUsage;
}

bool WritesStatusWord(quorel::RunOutcome outcome) {
  return outcome == quorel::RunOutcome::kDone || outcome == quorel::RunOutcome::kAborted ||
         outcome == quorel::RunOutcome::kResultBoxFull;
}

quorel::RunOutcome Search(quorel::ConsoleWindow& window, Output output) {
  const std::filesystem::path data_file = quorel::kDataFileName;
  switch (output) {
    case Output::kResultText:
      return quorel::Command1_Click(window, data_file);
    case Output::kJson: {
      quorel::JsonFindWriter writer(stdout);
      return quorel::RunSearch(window, data_file, writer);
    }
    case Output::kCount: {
      quorel::FindCounter counter;
      const quorel::RunOutcome outcome = quorel::RunSearch(window, data_file, counter);
      if (WritesStatusWord(outcome)) {
        window.Finish();  // clears the progress line before the table
        counter.Write(stdout);
      }
      return outcome;
    }
  }
  return quorel::RunOutcome::kLoadFailed;
}

}  // namespace

int main(int argc, char** argv) {
  Arguments arguments;
  if (!ParseArguments(argc, argv, arguments)) {
    std::fputs(kUsage, stderr);
    return kExitUsage;
  }
  if (arguments.help) {
    std::fputs(kUsage, stdout);
    return kExitDone;
  }
  quorel::ConsoleWindow::CatchInterrupt();
  quorel::ConsoleWindow window(std::move(arguments.inputs), stdout, stderr);
  const quorel::RunOutcome outcome = Search(window, arguments.output);
  window.Finish();
  if (WritesStatusWord(outcome)) {
    std::fprintf(stderr, "%s\n", quorel::Utf16ToUtf8(window.GetText(quorel::Box::Text5)).c_str());
  }
  return ExitStatus(outcome);
}
