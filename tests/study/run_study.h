// SPDX-License-Identifier: GPL-3.0-or-later
// Running quorel-study as a process without a shell: its arguments as they are, its output into
// files of the test's folder.
#pragma once

#include <fcntl.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

namespace quorel::testing {

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

// Runs quorel-study in `folder` with `arguments`, stdin from /dev/null, stdout into `out_file`
// (a file of the folder unless given) and stderr into a file of the folder.
// With `interrupt_after_ms` above 0, sends SIGINT (Ctrl-C) to the program after that long.
inline ProgramOutcome RunStudy(const std::filesystem::path& folder,
                               const std::vector<std::string>& arguments,
                               const std::filesystem::path& out_file = {},
                               int interrupt_after_ms = 0) {
  const std::filesystem::path out = out_file.empty() ? folder / ".stdout" : out_file;
  const std::filesystem::path err = folder / ".stderr";
  std::vector<std::string> argv_strings = {QUOREL_STUDY_PROGRAM};
  argv_strings.insert(argv_strings.end(), arguments.begin(), arguments.end());
  std::vector<char*> argv;
  for (std::string& argument : argv_strings) {
    argv.push_back(argument.data());
  }
  argv.push_back(nullptr);
  const pid_t child = fork();
  if (child == 0) {
    const int in_fd = open("/dev/null", O_RDONLY);
    const int out_fd = open(out.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
    const int err_fd = open(err.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
    if (in_fd < 0 || out_fd < 0 || err_fd < 0 || chdir(folder.c_str()) != 0 || dup2(in_fd, 0) < 0 ||
        dup2(out_fd, 1) < 0 || dup2(err_fd, 2) < 0) {
      _exit(127);
    }
    execv(argv[0], argv.data());
    _exit(127);
  }
  if (interrupt_after_ms > 0) {
    usleep(static_cast<useconds_t>(interrupt_after_ms) * 1000);
    kill(child, SIGINT);
  }
  int status = 0;
  waitpid(child, &status, 0);
  ProgramOutcome run{WIFEXITED(status) ? WEXITSTATUS(status) : -1,
                     out_file.empty() ? ReadFile(out) : std::string(), ReadFile(err)};
  std::filesystem::remove(err);
  if (out_file.empty()) {
    std::filesystem::remove(out);
  }
  return run;
}

}  // namespace quorel::testing
