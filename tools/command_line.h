// SPDX-License-Identifier: GPL-3.0-or-later
// What every command-line program of the project does with its options: -h/--help and
// --version answer on stdout, a usage error says what was wrong in one line and then shows the
// usage, all with the same exit statuses.
#pragma once

#include <CLI/CLI.hpp>
#include <optional>
#include <string>
#include <string_view>

namespace quorel {

inline constexpr int kExitUsage = 2;

// The program's name and its usage text, as -h prints it.
struct ProgramUsage {
  std::string_view name;
  std::string_view usage;
};

// Gives `app` -h/--help and --version in place of CLI11's own help text. CLI11 leaves an
// argument that starts with '-' and a digit to the positionals (a skip of -5 is no option).
void AddStandardFlags(CLI::App& app, const ProgramUsage& program);

// Parses the command line into `app`. Gives the exit status when the program is to end at
// once: 0 after the usage or the version was printed, kExitUsage after a usage error. A
// nullopt means: go on and run.
std::optional<int> ParseCommandLine(CLI::App& app, const ProgramUsage& program, int argc,
                                    char** argv);

// Prints "NAME: SENTENCE" and the usage on stderr; gives kExitUsage.
int UsageError(const ProgramUsage& program, std::string_view sentence);

}  // namespace quorel
