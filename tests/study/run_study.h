// SPDX-License-Identifier: GPL-3.0-or-later
// Running quorel-study as a process without a shell, through the tests' one program runner.
#pragma once

#include <chrono>
#include <csignal>
#include <filesystem>
#include <string>
#include <thread>
#include <vector>

#include "../program_runner.h"

namespace quorel::test {

// Runs quorel-study in `folder` with `arguments`, stdin from /dev/null. `out` says where its
// stdout goes (captured unless told). With `interrupt_after_ms` above 0, sends SIGINT (Ctrl-C)
// to the program after that long.
inline ProgramOutcome RunStudy(const std::filesystem::path& folder,
                               const std::vector<std::string>& arguments,
                               Stdout out = Stdout::kCapture, int interrupt_after_ms = 0) {
  Invocation call = Call(QUOREL_STUDY_PROGRAM, arguments, folder);
  call.out = out;
  RunningProgram program(call);
  if (interrupt_after_ms > 0) {
    std::this_thread::sleep_for(std::chrono::milliseconds(interrupt_after_ms));
    program.Signal(SIGINT);
  }
  return program.Finish();
}

}  // namespace quorel::test
