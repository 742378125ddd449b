#include "data_file_writer.h"

#include <fcntl.h>
#include <unistd.h>

#include <cerrno>
#include <csignal>
#include <cstring>

namespace quorel::mkdsf {
namespace {

// The temporary file that a signal handler removes: a fixed buffer, since the handler may only
// call async-signal-safe functions.
char pending_temporary[4096];
volatile std::sig_atomic_t temporary_pending = 0;

extern "C" void RemoveTemporaryAndDie(int signal_number) {
  if (temporary_pending != 0) {
    unlink(pending_temporary);
  }
  std::signal(signal_number, SIG_DFL);
  std::raise(signal_number);
}

void RemoveOnSignals(const std::filesystem::path& temporary) {
  const std::string& name = temporary.native();
  if (name.size() >= sizeof pending_temporary) {
    return;  // such a path cannot be created anyway
  }
  temporary_pending = 0;
  std::memcpy(pending_temporary, name.c_str(), name.size() + 1);
  temporary_pending = 1;
  for (const int signal_number : {SIGINT, SIGTERM, SIGHUP}) {
    struct sigaction action {};
    action.sa_handler = RemoveTemporaryAndDie;
    sigemptyset(&action.sa_mask);
    sigaction(signal_number, &action, nullptr);
  }
}

void NoLongerPending() {
  temporary_pending = 0;
}

std::string Cause(int error) {
  return std::strerror(error);
}

std::string ExistsSentence(const std::filesystem::path& file) {
  return file.string() + " already exists; pass --force to replace it";
}

// Creates a file that did not exist, next to `file`; gives its descriptor and name, or -1.
int CreateTemporary(const std::filesystem::path& file, std::filesystem::path& temporary) {
  const std::filesystem::path folder = file.parent_path();
  for (int attempt = 0; attempt < 100; ++attempt) {
    std::string name = ".";
    name.append(file.filename().string())
        .append(".tmp-")
        .append(std::to_string(getpid()))
        .append("-")
        .append(std::to_string(attempt));
    temporary = folder / name;
    // The umask gives the file the same mode as any file the user creates.
    const int descriptor = open(temporary.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
    if (descriptor >= 0 || errno != EEXIST) {
      return descriptor;
    }
  }
  errno = EEXIST;
  return -1;
}

// Writes all of `bytes` and flushes them to disk; gives errno, or 0.
int WriteAll(int descriptor, std::string_view bytes) {
  while (!bytes.empty()) {
    const ssize_t written = write(descriptor, bytes.data(), bytes.size());
    if (written < 0) {
      if (errno == EINTR) {
        continue;
      }
      return errno;
    }
    bytes.remove_prefix(static_cast<std::size_t>(written));
  }
  return fsync(descriptor) == 0 ? 0 : errno;
}

// Gives the temporary file its final name; gives the failure sentence, or an empty string.
std::string MoveIntoPlace(const std::filesystem::path& temporary, const std::filesystem::path& file,
                          Overwrite overwrite) {
  if (overwrite == Overwrite::kReplace) {
    if (rename(temporary.c_str(), file.c_str()) != 0) {
      return "Could not write " + file.string() + ": " + Cause(errno);
    }
    return {};
  }
  // A hard link is made only where no file of that name exists, in one step.
  if (link(temporary.c_str(), file.c_str()) == 0) {
    unlink(temporary.c_str());
    return {};
  }
  if (errno == EEXIST) {
    return ExistsSentence(file);
  }
  // Some file systems have no hard links; fall back to a test before the rename.
  std::error_code ignored;
  if (std::filesystem::exists(std::filesystem::symlink_status(file, ignored))) {
    return ExistsSentence(file);
  }
  if (rename(temporary.c_str(), file.c_str()) != 0) {
    return "Could not write " + file.string() + ": " + Cause(errno);
  }
  return {};
}

}  // namespace

DataFileWriter::DataFileWriter(std::filesystem::path file) : file_(std::move(file)) {
  descriptor_ = CreateTemporary(file_, temporary_);
  if (descriptor_ < 0) {
    failure_ = "Could not create a file in the folder of " + file_.string() + ": " + Cause(errno);
    return;
  }
  RemoveOnSignals(temporary_);
}

DataFileWriter::~DataFileWriter() {
  if (descriptor_ >= 0) {
    close(descriptor_);
  }
  if (!temporary_.empty() && failure_.empty()) {
    unlink(temporary_.c_str());
  }
  NoLongerPending();
}

std::string DataFileWriter::Commit(std::string_view bytes, Overwrite overwrite) {
  if (!failure_.empty()) {
    return failure_;
  }
  const int write_error = WriteAll(descriptor_, bytes);
  const int close_error = close(descriptor_) == 0 ? 0 : errno;
  descriptor_ = -1;
  std::string failure;
  if (write_error != 0 || close_error != 0) {
    failure = "Could not write " + file_.string() + ": " +
              Cause(write_error != 0 ? write_error : close_error);
  } else {
    failure = MoveIntoPlace(temporary_, file_, overwrite);
  }
  if (failure.empty()) {
    temporary_.clear();  // it is the data file now
    NoLongerPending();
  }
  return failure;
}

std::string WriteDataFile(const std::filesystem::path& file, std::string_view bytes,
                          Overwrite overwrite) {
  DataFileWriter writer(file);
  return writer.Commit(bytes, overwrite);
}

}  // namespace quorel::mkdsf
