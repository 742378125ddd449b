// SPDX-License-Identifier: GPL-3.0-or-later
// The window started where there is no display: one sentence and exit status 1, not the
// toolkit's plugin abort.
#include <gtest/gtest.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <array>
#include <string>
#include <vector>

namespace quorel {
namespace {

struct Outcome {
  int status = -1;
  std::string err;
};

// Runs quorel with exactly the environment `env`, its stderr read through a pipe.
Outcome RunQuorelWith(std::vector<std::string> env) {
  std::array<int, 2> pipe_ends{};
  EXPECT_EQ(pipe(pipe_ends.data()), 0);
  posix_spawn_file_actions_t actions;
  posix_spawn_file_actions_init(&actions);
  posix_spawn_file_actions_adddup2(&actions, pipe_ends[1], STDERR_FILENO);
  posix_spawn_file_actions_addclose(&actions, pipe_ends[0]);
  std::vector<char*> envp;
  for (std::string& entry : env) {
    envp.push_back(entry.data());
  }
  envp.push_back(nullptr);
  std::string program = QUOREL_PROGRAM;
  std::array<char*, 2> argv{program.data(), nullptr};
  pid_t pid = 0;
  const int spawned =
      posix_spawn(&pid, program.c_str(), &actions, nullptr, argv.data(), envp.data());
  posix_spawn_file_actions_destroy(&actions);
  close(pipe_ends[1]);
  Outcome outcome;
  std::array<char, 4096> buffer{};
  for (ssize_t got = 0; (got = read(pipe_ends[0], buffer.data(), buffer.size())) > 0;) {
    outcome.err.append(buffer.data(), static_cast<std::size_t>(got));
  }
  close(pipe_ends[0]);
  EXPECT_EQ(spawned, 0);
  int status = 0;
  if (spawned == 0 && waitpid(pid, &status, 0) == pid && WIFEXITED(status)) {
    outcome.status = WEXITSTATUS(status);
  }
  return outcome;
}

TEST(QuorelWithoutDisplay, SaysItNeedsOneAndExitsWithOne) {
  const std::vector<std::string> cases[] = {
      {},                                // nothing set at all
      {"DISPLAY=:65000"},                // a display that no server answers
      {"QT_QPA_PLATFORM=xcb"},           // X11 asked for, no display named
      {"DISPLAY=", "WAYLAND_DISPLAY="},  // set, but empty
  };
  for (const std::vector<std::string>& env : cases) {
    SCOPED_TRACE(env.empty() ? std::string("empty environment") : env.front());
    const Outcome outcome = RunQuorelWith(env);
    EXPECT_EQ(outcome.status, 1);
    EXPECT_NE(outcome.err.find("needs a graphical display"), std::string::npos) << outcome.err;
    EXPECT_NE(outcome.err.find("quorel-search"), std::string::npos) << outcome.err;
    // One sentence on one line.
    EXPECT_EQ(outcome.err.find('\n'), outcome.err.size() - 1) << outcome.err;
  }
}

}  // namespace
}  // namespace quorel
