// SPDX-License-Identifier: GPL-3.0-or-later
#include "command_line.h"

#include <cstdio>
#include <string>
#include <vector>

namespace quorel {
namespace {

void Print(std::FILE* stream, std::string_view text) {
  std::fwrite(text.data(), 1, text.size(), stream);
}

// The first option nobody declared among what CLI11 left over, which also holds the "--" that
// ends the options.
std::optional<std::string> UnknownOption(const std::vector<std::string>& left_over) {
  for (const std::string& argument : left_over) {
    if (argument != "--") {
      return argument;
    }
  }
  return std::nullopt;
}

}  // namespace

void AddStandardFlags(CLI::App& app, const ProgramUsage& program) {
  app.name(std::string(program.name));
  app.set_help_flag("-h,--help");
  app.set_version_flag("--version", std::string(program.name) + " " + QUOREL_VERSION);
  // An unknown option is reported in our own words; every positional is declared.
  app.allow_extras();
}

std::optional<int> ParseCommandLine(CLI::App& app, const ProgramUsage& program, int argc,
                                    char** argv) {
  try {
    app.parse(argc, argv);
  } catch (const CLI::CallForHelp&) {
    Print(stdout, program.usage);
    return 0;
  } catch (const CLI::CallForVersion&) {
    std::printf("%s %s\n", std::string(program.name).c_str(), QUOREL_VERSION);
    return 0;
  } catch (const CLI::ParseError& error) {
    return UsageError(program, error.what());
  }
  if (const std::optional<std::string> unknown = UnknownOption(app.remaining())) {
    return UsageError(program, "unknown option " + *unknown);
  }
  return std::nullopt;
}

int UsageError(const ProgramUsage& program, std::string_view sentence) {
  std::fprintf(stderr, "%s: %s\n", std::string(program.name).c_str(),
               std::string(sentence).c_str());
  Print(stderr, program.usage);
  return kExitUsage;
}

}  // namespace quorel
