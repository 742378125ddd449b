// The corrected-distance commands of quorel-study: `distance WORD1 WORD2` and `pairs LIST`.
#pragma once

#include <CLI/CLI.hpp>

namespace quorel {

// Adds the subcommands `distance` and `pairs` to `app`. Each runs from its own callback and ends
// a failure by throwing CLI::RuntimeError with the exit status (1 refused input, 2 load
// failure, 130 interrupted), which the program's main turns into its exit status.
void AddDistanceCommands(CLI::App& app);

}  // namespace quorel
