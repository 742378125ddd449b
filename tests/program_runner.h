// SPDX-License-Identifier: GPL-3.0-or-later
// Running the project's programs as processes for the end-to-end tests, without a shell: the
// arguments go to the program as they are, and every stream the program sees is chosen here.
#pragma once

#include <fcntl.h>
#include <poll.h>
#include <sys/ioctl.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <chrono>
#include <csignal>
#include <cstdlib>
#include <filesystem>
#include <optional>
#include <stdexcept>
#include <string>
#include <string_view>
#include <thread>
#include <vector>

namespace quorel::test {

// Where a program's standard input comes from.
struct Stdin {
  enum class Kind { kNull, kData, kFile, kClosed };
  Kind kind = Kind::kNull;
  std::string data_or_path;

  static Stdin Null() { return {}; }
  static Stdin Data(std::string data) { return {Kind::kData, std::move(data)}; }
  // Any path open(2) can open for reading, a folder included.
  static Stdin File(const std::filesystem::path& path) { return {Kind::kFile, path.string()}; }
  static Stdin Closed() { return {Kind::kClosed, {}}; }
};

// Where a program's standard output goes.
enum class Stdout {
  kCapture,     // a pipe this side reads
  kDevFull,     // /dev/full: every write fails with "No space left on device"
  kClosed,      // no descriptor 1 at all
  kBrokenPipe,  // a pipe whose reading end is closed: EPIPE (or SIGPIPE)
  kTerminal,    // stdout and stderr both on one pseudo-terminal, read back as `out`
};

struct Invocation {
  std::filesystem::path program;
  std::vector<std::string> arguments;
  std::filesystem::path folder;  // the working directory; empty for this process's own
  Stdin in;
  Stdout out = Stdout::kCapture;
  std::vector<std::string> environment;  // NAME=VALUE added to this process's environment
  bool ignore_sigpipe = false;           // as `trap '' PIPE` in a calling shell
};

// `program` with `arguments`, run in `folder`, stdin from /dev/null and stdout captured.
inline Invocation Call(const std::filesystem::path& program, std::vector<std::string> arguments,
                       const std::filesystem::path& folder = {}) {
  Invocation invocation;
  invocation.program = program;
  invocation.arguments = std::move(arguments);
  invocation.folder = folder;
  return invocation;
}

// The words of `text` split at single blanks, as arguments: "--json WORD 2 20".
inline std::vector<std::string> Words(std::string_view text) {
  std::vector<std::string> words;
  for (std::size_t start = 0; start < text.size();) {
    std::size_t end = text.find(' ', start);
    if (end == std::string_view::npos) {
      end = text.size();
    }
    if (end > start) {
      words.emplace_back(text.substr(start, end - start));
    }
    start = end + 1;
  }
  return words;
}

struct ProgramOutcome {
  int status = -1;       // the exit status, or -1 when a signal ended the program
  int signal = 0;        // the signal that ended it, or 0
  long max_rss_kib = 0;  // the most memory the program held at once
  std::string out;
  std::string err;
};

// A program started from an Invocation. Its output is read only in Finish (or while waiting in
// WaitUntilStdoutIsFull), so a test can let the stdout pipe fill up and then signal it.
class RunningProgram {
 public:
  explicit RunningProgram(const Invocation& invocation) {
    std::vector<std::string> argv_text{invocation.program.string()};
    argv_text.insert(argv_text.end(), invocation.arguments.begin(), invocation.arguments.end());
    std::vector<char*> argv = Pointers(argv_text);
    std::vector<std::string> env_text;
    for (char** name = environ; *name != nullptr; ++name) {
      env_text.emplace_back(*name);
    }
    env_text.insert(env_text.end(), invocation.environment.begin(), invocation.environment.end());
    std::vector<char*> envp = Pointers(env_text);

    int in_pipe[2] = {-1, -1};
    int out_pipe[2] = {-1, -1};
    int err_pipe[2] = {-1, -1};
    if (invocation.in.kind == Stdin::Kind::kData) {
      MakePipe(in_pipe);
    }
    if (invocation.out == Stdout::kCapture || invocation.out == Stdout::kBrokenPipe) {
      MakePipe(out_pipe);
    }
    MakePipe(err_pipe);
    std::string terminal;
    if (invocation.out == Stdout::kTerminal) {
      out_pipe[0] = OpenTerminal(terminal);
    }
    if (invocation.out == Stdout::kBrokenPipe) {
      close(out_pipe[0]);
      out_pipe[0] = -1;
    }
    // Everything the child needs is prepared: after fork it only calls async-signal-safe
    // functions.
    const std::string in_path = invocation.in.kind == Stdin::Kind::kFile
                                    ? invocation.in.data_or_path
                                    : std::string("/dev/null");
    const std::string folder = invocation.folder.string();
    pid_ = fork();
    if (pid_ < 0) {
      throw std::runtime_error("fork failed");
    }
    if (pid_ == 0) {
      if (invocation.ignore_sigpipe) {
        signal(SIGPIPE, SIG_IGN);
      }
      if (!folder.empty() && chdir(folder.c_str()) != 0) {
        _exit(126);
      }
      ChildStdin(invocation.in.kind, in_pipe, in_path);
      ChildStdout(invocation.out, out_pipe, terminal);
      dup2(invocation.out == Stdout::kTerminal ? 1 : err_pipe[1], 2);
      CloseIfOpen(err_pipe[0]);
      CloseIfOpen(err_pipe[1]);
      execve(argv[0], argv.data(), envp.data());
      _exit(127);
    }
    CloseIfOpen(in_pipe[0]);
    CloseIfOpen(out_pipe[1]);
    CloseIfOpen(err_pipe[1]);
    in_ = in_pipe[1];
    out_ = out_pipe[0];
    err_ = err_pipe[0];
    if (in_ >= 0) {
      fcntl(in_, F_SETFL, O_NONBLOCK);
    }
    input_ = invocation.in.kind == Stdin::Kind::kData ? invocation.in.data_or_path : "";
  }

  ~RunningProgram() {
    if (pid_ > 0 && !finished_) {
      kill(pid_, SIGKILL);
      Finish();
    }
  }
  RunningProgram(const RunningProgram&) = delete;
  RunningProgram& operator=(const RunningProgram&) = delete;

  void Signal(int signal_number) const { kill(pid_, signal_number); }

  // Waits until the stdout pipe holds `bytes` unread bytes (a full pipe holds 64 KiB), or the
  // time is up; true when it got there.
  bool WaitUntilStdoutHolds(int bytes,
                            std::chrono::milliseconds patience = std::chrono::seconds(20)) const {
    const auto until = std::chrono::steady_clock::now() + patience;
    while (std::chrono::steady_clock::now() < until) {
      int unread = 0;
      if (ioctl(out_, FIONREAD, &unread) == 0 && unread >= bytes) {
        return true;
      }
      std::this_thread::sleep_for(std::chrono::milliseconds(5));
    }
    return false;
  }

  // Reads up to `bytes` of stdout now (kept for Finish), as a slow reader such as a pager does.
  void ReadStdout(std::size_t bytes) {
    std::string piece(bytes, '\0');
    const ssize_t got = read(out_, piece.data(), bytes);
    if (got > 0) {
      early_out_.append(piece, 0, static_cast<std::size_t>(got));
    }
  }

  // Feeds the input, reads stdout and stderr to their ends and waits for the program.
  ProgramOutcome Finish() {
    ProgramOutcome outcome;
    outcome.out = std::move(early_out_);
    std::size_t fed = 0;
    if (in_ >= 0 && input_.empty()) {
      CloseIfOpen(in_);
    }
    while (out_ >= 0 || err_ >= 0 || in_ >= 0) {
      pollfd fds[3] = {{out_, POLLIN, 0}, {err_, POLLIN, 0}, {in_, POLLOUT, 0}};
      if (poll(fds, 3, -1) < 0 && errno != EINTR) {
        break;
      }
      ReadSome(fds[0], out_, outcome.out);
      ReadSome(fds[1], err_, outcome.err);
      if (fds[2].revents != 0) {
        const ssize_t written = write(in_, input_.data() + fed, input_.size() - fed);
        if (written > 0) {
          fed += static_cast<std::size_t>(written);
        }
        if (written < 0 && errno != EAGAIN && errno != EINTR) {
          fed = input_.size();  // the program stopped reading
        }
        if (fed == input_.size()) {
          CloseIfOpen(in_);
        }
      }
    }
    int status = 0;
    rusage usage{};
    while (wait4(pid_, &status, 0, &usage) < 0 && errno == EINTR) {
    }
    outcome.max_rss_kib = usage.ru_maxrss;
    finished_ = true;
    if (WIFEXITED(status)) {
      outcome.status = WEXITSTATUS(status);
    } else if (WIFSIGNALED(status)) {
      outcome.signal = WTERMSIG(status);
    }
    return outcome;
  }

 private:
  static std::vector<char*> Pointers(std::vector<std::string>& texts) {
    std::vector<char*> pointers;
    for (std::string& text : texts) {
      pointers.push_back(text.data());
    }
    pointers.push_back(nullptr);
    return pointers;
  }

  static void MakePipe(int ends[2]) {
    if (pipe2(ends, O_CLOEXEC) != 0) {
      throw std::runtime_error("pipe failed");
    }
  }

  static void CloseIfOpen(int& descriptor) {
    if (descriptor >= 0) {
      close(descriptor);
      descriptor = -1;
    }
  }

  static void ChildStdin(Stdin::Kind kind, int in_pipe[2], const std::string& path) {
    if (kind == Stdin::Kind::kClosed) {
      close(0);
    } else if (kind == Stdin::Kind::kData) {
      dup2(in_pipe[0], 0);
    } else {
      const int file = open(path.c_str(), O_RDONLY);
      dup2(file, 0);
      close(file);
    }
  }

  // The master side of a new pseudo-terminal; `slave` gets the name of the other side.
  static int OpenTerminal(std::string& slave) {
    const int master = posix_openpt(O_RDWR | O_NOCTTY | O_CLOEXEC);
    if (master < 0 || grantpt(master) != 0 || unlockpt(master) != 0) {
      throw std::runtime_error("no pseudo-terminal");
    }
    slave = ptsname(master);
    return master;
  }

  static void ChildStdout(Stdout out, int out_pipe[2], const std::string& terminal) {
    if (out == Stdout::kTerminal) {
      const int slave = open(terminal.c_str(), O_RDWR | O_NOCTTY);
      dup2(slave, 1);
      close(slave);
    } else if (out == Stdout::kClosed) {
      close(1);
    } else if (out == Stdout::kDevFull) {
      const int full = open("/dev/full", O_WRONLY);
      dup2(full, 1);
      close(full);
    } else {
      dup2(out_pipe[1], 1);
    }
  }

  static void ReadSome(const pollfd& polled, int& descriptor, std::string& into) {
    if (descriptor < 0 || polled.revents == 0) {
      return;
    }
    char buffer[1 << 16];
    const ssize_t got = read(descriptor, buffer, sizeof buffer);
    if (got > 0) {
      into.append(buffer, static_cast<std::size_t>(got));
    } else if (got == 0 || errno != EINTR) {
      CloseIfOpen(descriptor);  // the end, or EIO once a terminal's last user is gone
    }
  }

  pid_t pid_ = -1;
  int in_ = -1;
  int out_ = -1;
  int err_ = -1;
  std::string input_;
  std::string early_out_;
  bool finished_ = false;
};

// Runs the program to its end.
inline ProgramOutcome Run(const Invocation& invocation) {
  return RunningProgram(invocation).Finish();
}

}  // namespace quorel::test
