// SPDX-License-Identifier: GPL-3.0-or-later
// quorel-mkdsf tried as a hostile user would: odd OUTPUTs, INPUT and OUTPUT the same file,
// unreadable input, Ctrl-C and SIGTERM during a conversion, and a huge input.
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <sys/sysmacros.h>
#include <unistd.h>

#include <chrono>
#include <csignal>
#include <filesystem>
#include <fstream>
#include <string>
#include <thread>
#include <vector>

#include "program_runner.h"
#include "temp_dir.h"

namespace quorel {
namespace {

namespace fs = std::filesystem;
using test::Invocation;
using test::ProgramOutcome;
using test::Stdin;

const std::string kShalom = "\xD7\xA9\xD7\x9C\xD7\x95\xD7\x9D";  // shin lamed vav final-mem

Invocation Mkdsf(const test::TempDir& dir, std::vector<std::string> arguments) {
  return test::Call(QUOREL_MKDSF_PROGRAM, std::move(arguments), dir.path());
}

// Files in `dir` whose names start with a dot: the converter's temporary files.
std::vector<std::string> HiddenFiles(const test::TempDir& dir) {
  std::vector<std::string> hidden;
  for (const fs::directory_entry& entry : fs::directory_iterator(dir.path())) {
    if (entry.path().filename().string().front() == '.') {
      hidden.push_back(entry.path().filename().string());
    }
  }
  return hidden;
}

// A character device to give as OUTPUT. As root, a faulty converter would replace the device
// it is given, so root gets a node of its own in `dir` (the same device as /dev/full); anyone
// else gets /dev/full, which only root could replace.
std::string DeviceToRefuse(const test::TempDir& dir) {
  if (geteuid() != 0) {
    return "/dev/full";
  }
  const fs::path node = dir.path() / "full";
  EXPECT_EQ(mknod(node.c_str(), S_IFCHR | 0666, makedev(1, 7)), 0);
  return node.string();
}

// An OUTPUT that is no regular file is refused, with --force too, and stays as it was; so is
// OUTPUT when it is INPUT itself, by whatever name.
TEST(QuorelMkdsfFaults, RefusesOutputsThatMustNotBeReplaced) {
  test::TempDir dir;
  const std::string device = DeviceToRefuse(dir);
  dir.Write("text.txt", kShalom);
  dir.Write("target.DSF", "old");
  ASSERT_EQ(mkfifo((dir.path() / "pipe").c_str(), 0600), 0);
  fs::create_symlink("target.DSF", dir.path() / "link.DSF");
  fs::create_symlink("text.txt", dir.path() / "text-link.txt");
  fs::create_hard_link(dir.path() / "text.txt", dir.path() / "hard.txt");
  struct Case {
    std::vector<std::string> arguments;
    std::string message;
  };
  const std::vector<Case> cases = {
      {{"--force", "text.txt", device},
       "quorel-mkdsf: " + device + " is a device, not a regular file; nothing written\n"},
      {{"--force", "text.txt", "pipe"},
       "quorel-mkdsf: pipe is a named pipe, not a regular file; nothing written\n"},
      {{"--force", "text.txt", "link.DSF"},
       "quorel-mkdsf: link.DSF is a symbolic link; nothing written (name the file it points to, "
       "or remove the link)\n"},
      {{"--force", "text.txt", "text.txt"},
       "quorel-mkdsf: text.txt and text.txt are the same file; nothing written (write the data "
       "file elsewhere)\n"},
      {{"--force", "text-link.txt", "hard.txt"},
       "quorel-mkdsf: text-link.txt and hard.txt are the same file; nothing written (write the "
       "data file elsewhere)\n"},
      {{"--force", "--demo", "pipe"},
       "quorel-mkdsf: pipe is a named pipe, not a regular file; nothing written\n"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.arguments[c.arguments.size() - 1]);
    const ProgramOutcome run = test::Run(Mkdsf(dir, c.arguments));
    EXPECT_EQ(run.status, 1);
    EXPECT_EQ(run.err, c.message);
  }
  EXPECT_EQ(test::ReadFile(dir.path() / "text.txt"), kShalom);
  EXPECT_EQ(test::ReadFile(dir.path() / "target.DSF"), "old");
  EXPECT_TRUE(fs::is_fifo(dir.path() / "pipe"));
  EXPECT_TRUE(fs::is_symlink(dir.path() / "link.DSF"));
  EXPECT_TRUE(fs::is_character_file(device));
  EXPECT_TRUE(HiddenFiles(dir).empty());

  // Standard input is compared by the file it is.
  Invocation same_stdin = Mkdsf(dir, {"--force", "-", "text.txt"});
  same_stdin.in = Stdin::File(dir.path() / "text.txt");
  const ProgramOutcome run = test::Run(same_stdin);
  EXPECT_EQ(run.status, 1);
  EXPECT_EQ(run.err,
            "quorel-mkdsf: standard input and text.txt are the same file; nothing written (write "
            "the data file elsewhere)\n");
  EXPECT_EQ(test::ReadFile(dir.path() / "text.txt"), kShalom);
}

// Each failure names its own cause.
TEST(QuorelMkdsfFaults, EachFailureNamesItsOwnCause) {
  test::TempDir dir;
  dir.Write("cut.txt", kShalom + "\n\xD7");
  dir.Write("overlong.txt", kShalom + "\xC0\xAF");
  dir.Write("surrogate.txt", "\xED\xA0\x80");
  fs::create_directory(dir.path() / "folder");
  struct Case {
    std::vector<std::string> arguments;
    Stdin in;
    std::string message;
  };
  const std::vector<Case> cases = {
      {{"-", "out.DSF"},
       Stdin::Closed(),
       "quorel-mkdsf: Could not read standard input: it is closed\n"},
      {{"-", "out.DSF"},
       Stdin::File(dir.path() / "folder"),
       "quorel-mkdsf: Could not read standard input: it is a folder\n"},
      {{"cut.txt", "out.DSF"},
       Stdin::Null(),
       "quorel-mkdsf: Could not convert cut.txt: it is not UTF-8 text: line 2 (byte 10) ends "
       "inside a UTF-8 character: the text is cut short\n"},
      {{"overlong.txt", "out.DSF"},
       Stdin::Null(),
       "quorel-mkdsf: Could not convert overlong.txt: it is not UTF-8 text: line 1 (byte 9) "
       "holds an overlong UTF-8 form: a character written with more bytes than it needs\n"},
      {{"surrogate.txt", "out.DSF"},
       Stdin::Null(),
       "quorel-mkdsf: Could not convert surrogate.txt: it is not UTF-8 text: line 1 (byte 1) "
       "holds a UTF-16 surrogate (U+D800..U+DFFF) written as UTF-8, which UTF-8 never holds\n"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.message);
    Invocation invocation = Mkdsf(dir, c.arguments);
    invocation.in = c.in;
    const ProgramOutcome run = test::Run(invocation);
    EXPECT_EQ(run.status, 1);
    EXPECT_EQ(run.err, c.message);
    EXPECT_FALSE(fs::exists(dir.path() / "out.DSF"));
  }
  const ProgramOutcome empty = test::Run(Mkdsf(dir, {"cut.txt", ""}));
  EXPECT_EQ(empty.status, 2);
  EXPECT_EQ(empty.err.substr(0, empty.err.find('\n')),
            "quorel-mkdsf: an empty name was given for a file");
  EXPECT_TRUE(HiddenFiles(dir).empty());
}

// Ctrl-C or SIGTERM while the converter waits for more input ends it without a trace: neither
// the data file nor the temporary file beside it is left.
TEST(QuorelMkdsfFaults, ASignalDuringTheConversionLeavesNoTemporaryFile) {
  for (const int signal_number : {SIGINT, SIGTERM, SIGHUP}) {
    SCOPED_TRACE(signal_number);
    test::TempDir dir;
    dir.Write("Quorel.DSF", "old");
    int fifo = mkfifo((dir.path() / "input").c_str(), 0600);
    ASSERT_EQ(fifo, 0);
    test::RunningProgram run(Mkdsf(dir, {"--force", "input"}));
    // The converter makes its temporary file first, then waits for a writer on the pipe.
    for (int k = 0; k < 400 && HiddenFiles(dir).empty(); ++k) {
      std::this_thread::sleep_for(std::chrono::milliseconds(5));
    }
    ASSERT_EQ(HiddenFiles(dir).size(), 1u) << "the temporary file is made before the input is read";
    run.Signal(signal_number);
    const ProgramOutcome outcome = run.Finish();
    EXPECT_EQ(outcome.signal, signal_number);
    EXPECT_TRUE(HiddenFiles(dir).empty());
    EXPECT_EQ(test::ReadFile(dir.path() / "Quorel.DSF"), "old");
  }
}

// A huge input is converted as a stream: the memory held stays far below the input's size.
TEST(QuorelMkdsfFaults, AHugeInputTakesLittleMemory) {
  test::TempDir dir;
  std::string line;
  while (line.size() < 4000) {
    line += kShalom + " ";
  }
  line += "\n";
  // Written in pieces, so this process stays small: the program inherits its memory figure
  // from the process it is forked from.
  {
    std::ofstream text(dir.path() / "huge.txt", std::ios::binary);
    for (std::size_t size = 0; size < (std::size_t{200} << 20); size += line.size()) {
      text << line;
    }
  }
  Invocation invocation = Mkdsf(dir, {"--truncate", "-", "out.DSF"});
  invocation.in = Stdin::File(dir.path() / "huge.txt");
  const ProgramOutcome run = test::Run(invocation);
  EXPECT_EQ(run.status, 0) << run.err;
  EXPECT_EQ(fs::file_size(dir.path() / "out.DSF"), std::uintmax_t(304805));
  EXPECT_LT(run.max_rss_kib, 64 * 1024) << "KiB held converting a 200 MiB input";
}

}  // namespace
}  // namespace quorel
