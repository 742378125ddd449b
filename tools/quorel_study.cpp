// quorel-study: studies of word pairs on the letters of Quorel.DSF in the current folder.
//
//   quorel-study distance WORD1 WORD2 [--json] [--family X,Y,Z] [--min-triples N]
//   quorel-study pairs LIST [--permutations N --seed S] [--shard K/M | --merge FILE...]
//
// Exit status: 0 done, 1 refused input or failed output, 2 usage or load failure, 130 stopped
// by Ctrl-C.
#include <CLI/CLI.hpp>

#include "study/distance_command.h"
#include "study/study_text.h"

int main(int argc, char** argv) {
  CLI::App app("Studies of word pairs in the letters of Quorel.DSF in the current folder",
               "quorel-study");
  app.require_subcommand(1);
  quorel::AddDistanceCommands(app);
  try {
    app.parse(argc, argv);
  } catch (const CLI::RuntimeError& error) {
    return error.get_exit_code();
  } catch (const CLI::ParseError& error) {
    const int status = app.exit(error);
    return status == 0 ? 0 : quorel::kExitUsage;
  }
  return 0;
}
