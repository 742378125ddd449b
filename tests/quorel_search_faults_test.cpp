// SPDX-License-Identifier: GPL-3.0-or-later
// quorel-search tried as a hostile user would: Ctrl-C with stdout a full pipe, stdout that
// cannot be written, and a terminal that shows the progress line and the finds together.
#include <gtest/gtest.h>

#include <chrono>
#include <csignal>
#include <regex>
#include <string>
#include <thread>
#include <vector>

#include "program_runner.h"
#include "temp_dir.h"

namespace quorel {
namespace {

using test::Invocation;
using test::ProgramOutcome;
using test::Stdout;

const std::string kAlefAlef = "\xD7\x90\xD7\x90";

// `alefs` alefs, then blanks: every start position is a find at every skip that fits, so skip 1
// alone of the 20000 alefs writes far more than a pipe holds.
void WriteManyFinds(const test::TempDir& dir, std::size_t alefs = 20000) {
  dir.Write("Quorel.DSF", std::string(alefs, '\x80'));
}

Invocation Search(const test::TempDir& dir, std::vector<std::string> arguments) {
  return test::Call(QUOREL_SEARCH_PROGRAM, std::move(arguments), dir.path());
}

// Ctrl-C while the run waits on a full pipe: the run still ends only at its next poll, after
// the skip it was at, and what it wrote is every find of that skip, whole.
TEST(QuorelSearchFaults, InterruptWithAFullPipeKeepsEveryWholeFind) {
  test::TempDir dir;
  WriteManyFinds(dir);
  for (const std::vector<std::string>& options :
       std::vector<std::vector<std::string>>{{}, {"--json"}, {"--area"}}) {
    SCOPED_TRACE(options.empty() ? "result text" : options[0]);
    std::vector<std::string> interrupted = options;
    interrupted.insert(interrupted.end(), {kAlefAlef, "1", "30480"});
    test::RunningProgram run(Search(dir, interrupted));
    ASSERT_TRUE(run.WaitUntilStdoutHolds(65536)) << "the pipe never filled";
    // A pager reads a little at a time, so the run is often stopped in the middle of a write.
    for (int k = 0; k < 20; ++k) {
      run.ReadStdout(1000);
      std::this_thread::sleep_for(std::chrono::milliseconds(5));
      run.Signal(SIGINT);
    }
    const ProgramOutcome stopped = run.Finish();

    std::vector<std::string> first_skip = options;
    first_skip.insert(first_skip.end(), {kAlefAlef, "1", "1"});
    const ProgramOutcome whole = test::Run(Search(dir, first_skip));
    ASSERT_EQ(whole.status, 0);

    EXPECT_EQ(stopped.status, 130);
    EXPECT_EQ(stopped.err, "Aborted.\n");
    EXPECT_EQ(stopped.out.size(), whole.out.size());
    EXPECT_TRUE(stopped.out == whole.out) << "the finds of skip 1, whole and in order";
  }
}

// Every way stdout can refuse a write ends the run at once with one sentence and status 3,
// never with "Done.".
TEST(QuorelSearchFaults, AFailedWriteStopsTheRunWithItsCause) {
  struct Case {
    std::vector<std::string> options;
    Stdout out;
    bool ignore_sigpipe;
    std::string sentence;
  };
  const std::string prefix = "quorel-search: Could not write ";
  const std::vector<Case> cases = {
      {{}, Stdout::kDevFull, false, "the result text to standard output: No space left on device."},
      {{"--json"},
       Stdout::kDevFull,
       false,
       "the finds as JSON to standard output: No space left on device."},
      {{"--count"},
       Stdout::kDevFull,
       false,
       "the table of counts to standard output: No space left on device."},
      {{}, Stdout::kClosed, false, "the result text to standard output: it is closed."},
      {{"--count"},
       Stdout::kClosed,
       false,
       "the table of counts to standard output: it is closed."},
      {{}, Stdout::kBrokenPipe, true, "the result text to standard output: Broken pipe."},
      {{"--json"}, Stdout::kBrokenPipe, true, "the finds as JSON to standard output: Broken pipe."},
  };
  test::TempDir dir;
  WriteManyFinds(dir);
  for (const Case& c : cases) {
    SCOPED_TRACE(c.sentence);
    std::vector<std::string> arguments = c.options;
    arguments.insert(arguments.end(), {kAlefAlef, "1", "3"});
    Invocation invocation = Search(dir, arguments);
    invocation.out = c.out;
    invocation.ignore_sigpipe = c.ignore_sigpipe;
    const ProgramOutcome run = test::Run(invocation);
    EXPECT_EQ(run.status, 3);
    EXPECT_EQ(run.err, prefix + c.sentence + "\n");
  }
}

// On a terminal the progress line is taken away before finds are written, so no find starts
// on the progress line's end.
TEST(QuorelSearchFaults, TheProgressLineIsClearedBeforeFinds) {
  test::TempDir dir;
  WriteManyFinds(dir, 2000);
  for (const char* output : {"--area", "--json", "--count"}) {
    SCOPED_TRACE(output);
    Invocation invocation = Search(dir, {output, kAlefAlef, "1", "3"});
    invocation.out = Stdout::kTerminal;
    const ProgramOutcome run = test::Run(invocation);
    EXPECT_EQ(run.status, 0);
    const std::regex progress_line("skip \\d+ of 1\\.\\.3, \\d+ finds, \\d+\\.\\d s");
    const std::string clear = "\r\033[K";
    std::size_t progress_lines = 0;
    for (std::size_t at = run.out.find(clear); at != std::string::npos;) {
      const std::size_t next = run.out.find(clear, at + clear.size());
      const std::string piece = run.out.substr(at + clear.size(), next - at - clear.size());
      if (piece.rfind("skip ", 0) == 0) {
        ++progress_lines;
        EXPECT_TRUE(std::regex_match(piece, progress_line))
            << "text after the progress line: " << piece.substr(0, 80);
      }
      at = next;
    }
    EXPECT_GT(progress_lines, 0u) << "a terminal shows the progress line";
  }
}

}  // namespace
}  // namespace quorel
