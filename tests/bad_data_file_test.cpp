// SPDX-License-Identifier: GPL-3.0-or-later
// Every way the data file can be bad gets one sentence on quorel-search's stderr naming the
// file, its folder and the cause, and exit status 2; nothing blocks or reads without bound.
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <functional>
#include <sstream>
#include <string>

#include "program_runner.h"
#include "temp_dir.h"

namespace quorel {
namespace {

using test::ProgramOutcome;
using test::TempDir;

constexpr std::size_t kLength = 304805;

struct BadFile {
  std::string name;
  std::function<void(const std::filesystem::path& file)> make;
  std::string cause;
};

TEST(BadDataFile, EachCauseIsOneSentenceAndExitStatusTwo) {
  const BadFile cases[] = {
      {"missing", [](const auto&) {}, "was not found"},
      {"folder", [](const auto& file) { std::filesystem::create_directory(file); },
       "is a folder, not a file"},
      {"named pipe", [](const auto& file) { ASSERT_EQ(mkfifo(file.c_str(), 0600), 0); },
       "is a named pipe, not a regular file"},
      {"character device",
       [](const auto& file) { std::filesystem::create_symlink("/dev/zero", file); },
       "is a device, not a regular file"},
      {"one byte too long",
       [](const auto& file) { std::ofstream(file) << std::string(kLength + 1, '\x80'); },
       "holds more than 304805 bytes, more than the text has letters"},
      {"gigabytes",
       [](const auto& file) {
         std::ofstream(file).close();
         std::filesystem::resize_file(file, std::uintmax_t{3} << 30);  // sparse: costs no disk
       },
       "holds more than 304805 bytes, more than the text has letters"},
      {"high byte first", [](const auto& file) { std::ofstream(file) << "\xA0\x80\x80"; },
       "holds the byte 0xA0 at position 1, which stands for no letter"},
      {"high byte last",
       [](const auto& file) { std::ofstream(file) << std::string(kLength - 1, '\x80') << '\xFF'; },
       "holds the byte 0xFF at position 304805, which stands for no letter"},
  };
  for (const BadFile& c : cases) {
    TempDir dir;
    c.make(dir.path() / "Quorel.DSF");
    // A time limit, should the program wait on the file for ever.
    const ProgramOutcome outcome = test::Run(
        test::Call("/usr/bin/timeout", {"20", QUOREL_SEARCH_PROGRAM, "\xD7\x90\xD7\x91", "2", "20"},
                   dir.path()));
    EXPECT_EQ(outcome.status, 2) << c.name;
    EXPECT_EQ(outcome.err, "The letter text could not be loaded: Quorel.DSF in the folder " +
                               dir.path().string() + " " + c.cause + ".\n")
        << c.name;
    EXPECT_EQ(outcome.out, "") << c.name;
  }
}

TEST(BadDataFile, UnreadableFileNamesTheSystemsReason) {
  // Root reads files whatever their permissions, so as root the program runs as nobody.
  std::vector<std::string> as_user;
  if (geteuid() == 0) {
    if (!std::filesystem::exists("/usr/bin/setpriv")) {
      GTEST_SKIP() << "running as root without setpriv to drop to another user";
    }
    as_user = {"/usr/bin/setpriv", "--reuid=65534", "--regid=65534", "--clear-groups"};
    std::vector<std::string> probe(as_user.begin() + 1, as_user.end());
    probe.insert(probe.end(), {"/usr/bin/test", "-x", QUOREL_SEARCH_PROGRAM});
    if (test::Run(test::Call(as_user[0], probe)).status != 0) {
      GTEST_SKIP() << "user nobody cannot run " << QUOREL_SEARCH_PROGRAM;
    }
  }
  TempDir dir;
  dir.Write("Quorel.DSF", "\x80");
  std::filesystem::permissions(dir.path() / "Quorel.DSF", std::filesystem::perms::none);
  std::vector<std::string> command = as_user;
  command.insert(command.end(), {QUOREL_SEARCH_PROGRAM, "\xD7\x90\xD7\x91", "2", "20"});
  const std::vector<std::string> arguments(command.begin() + 1, command.end());
  const ProgramOutcome outcome = test::Run(test::Call(command[0], arguments, dir.path()));
  EXPECT_EQ(outcome.status, 2);
  EXPECT_EQ(outcome.err, "The letter text could not be loaded: Quorel.DSF in the folder " +
                             dir.path().string() + " could not be opened (Permission denied).\n");
}

}  // namespace
}  // namespace quorel
