// Running any of the project's programs as a process, for the end-to-end tests.
#pragma once

#include <sys/wait.h>

#include <cstdlib>
#include <filesystem>
#include <string>

#include "run_program.h"

namespace quorel::test {

// Runs `program` with `arguments` (already quoted for the shell) in `folder`, its standard input
// from /dev/null unless `arguments` redirects it.
inline ProgramOutcome RunProgram(const std::filesystem::path& folder, const std::string& program,
                                 const std::string& arguments) {
  const std::filesystem::path out = folder / ".stdout";
  const std::filesystem::path err = folder / ".stderr";
  const std::string command = "cd '" + folder.string() + "' && '" + program + "' </dev/null " +
                              arguments + " >'" + out.string() + "' 2>'" + err.string() + "'";
  const int status = std::system(command.c_str());
  ProgramOutcome run{WIFEXITED(status) ? WEXITSTATUS(status) : -1, ReadFile(out), ReadFile(err)};
  std::filesystem::remove(out);
  std::filesystem::remove(err);
  return run;
}

}  // namespace quorel::test
