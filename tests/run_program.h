// Running quorel-search as a process, for the end-to-end tests.
#pragma once

#include <sys/wait.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>

namespace quorel::test {

inline std::string ReadFile(const std::filesystem::path& file) {
  std::ifstream in(file, std::ios::binary);
  std::ostringstream text;
  text << in.rdbuf();
  return text.str();
}

struct ProgramOutcome {
  int status = -1;
  std::string out;
  std::string err;
};

// Runs quorel-search in `folder` with `arguments`, already quoted for the shell; `prefix` goes
// in front of the program (another user, a time limit).
inline ProgramOutcome RunSearchIn(const std::filesystem::path& folder, const std::string& arguments,
                                  const std::string& prefix = "") {
  const std::filesystem::path out = folder / "stdout.txt";
  const std::filesystem::path err = folder / "stderr.txt";
  const std::string command = "cd '" + folder.string() + "' && " + prefix +
                              " '" QUOREL_SEARCH_PROGRAM "' " + arguments + " >'" + out.string() +
                              "' 2>'" + err.string() + "'";
  const int status = std::system(command.c_str());
  return {WIFEXITED(status) ? WEXITSTATUS(status) : -1, ReadFile(out), ReadFile(err)};
}

}  // namespace quorel::test
