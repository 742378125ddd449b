// quorel-study: is a find more than chance? The same search on control texts that keep the real
// text's letters but not their order, and how often they do as well as the real text.
//
//   quorel-study count [options] WORD MIN MAX
//   quorel-study pair [options] WORD1 WORD2 --min MIN --max MAX
//   quorel-study merge [--json] PARTIAL...
//   quorel-study distance [options] WORD1 WORD2
//   quorel-study pairs [options] LIST
//
// stdout gets the result (one line, or JSON with --json) or a shard's partial result; stderr the
// progress bar on a terminal and the messages. Exit status: see study_run.h.
#include <cstdio>
#include <exception>
#include <string>
#include <vector>

#include <CLI/CLI.hpp>

#include "tools/study/count_command.h"
#include "tools/study/distance_command.h"
#include "tools/study/interrupt.h"
#include "tools/study/merge_command.h"
#include "tools/study/pair_command.h"
#include "tools/study/study_run.h"

#ifndef QUOREL_VERSION
#define QUOREL_VERSION "unknown"
#endif

int main(int argc, char** argv) {
  CLI::App app(
      "quorel-study: does a search do better on the real text than on control texts "
      "that keep its letters but not their order?",
      "quorel-study");
  app.set_version_flag("--version", "quorel-study " QUOREL_VERSION);
  app.require_subcommand(1);
  std::vector<quorel::StudyCommand> commands;
  quorel::AddCountCommand(app, commands);
  quorel::AddPairCommand(app, commands);
  quorel::AddMergeCommand(app, commands);
  quorel::AddDistanceCommands(app, commands);

  try {
    app.parse(argc, argv);
  } catch (const CLI::CallForHelp& e) {
    return app.exit(e);
  } catch (const CLI::CallForAllHelp& e) {
    return app.exit(e);
  } catch (const CLI::CallForVersion& e) {
    return app.exit(e);
  } catch (const CLI::ParseError& e) {
    std::fprintf(stderr, "quorel-study: %s (see quorel-study --help)\n", e.what());
    return quorel::kStudyUsage;
  }

  quorel::CatchStudyInterrupt();
  for (const quorel::StudyCommand& command : commands) {
    if (!command.app->parsed()) {
      continue;
    }
    try {
      return command.run();
    } catch (const quorel::StudyFailure& failure) {
      std::fprintf(stderr, "quorel-study: %s\n", failure.message.c_str());
      return failure.status;
    } catch (const std::exception& e) {
      std::fprintf(stderr, "quorel-study: %s\n", e.what());
      return quorel::kStudyUsage;
    }
  }
  return quorel::kStudyUsage;
}
