// Runs one of the project's programs in a folder and collects what it wrote and how it ended.
#pragma once

#include <sys/wait.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>

namespace quorel::testing {

inline std::string ReadFile(const std::filesystem::path& file) {
  std::ifstream in(file, std::ios::binary);
  std::ostringstream text;
  text << in.rdbuf();
  return text.str();
}

struct ProgramRun {
  int status = -1;
  std::string out;
  std::string err;
};

// Runs `program` with `arguments` (already quoted for the shell) in `folder`, its standard input
// from /dev/null unless `arguments` redirects it.
inline ProgramRun RunProgram(const std::filesystem::path& folder, const std::string& program,
                             const std::string& arguments) {
  const std::filesystem::path out = folder / ".stdout";
  const std::filesystem::path err = folder / ".stderr";
  const std::string command = "cd '" + folder.string() + "' && '" + program + "' </dev/null " +
                              arguments + " >'" + out.string() + "' 2>'" + err.string() + "'";
  const int status = std::system(command.c_str());
  ProgramRun run{WEXITSTATUS(status), ReadFile(out), ReadFile(err)};
  std::filesystem::remove(out);
  std::filesystem::remove(err);
  return run;
}

}  // namespace quorel::testing
