// SPDX-License-Identifier: GPL-3.0-or-later
#include "data_file_writer.h"

#include <fcntl.h>
#include <unistd.h>

#include <cerrno>
#include <csignal>
#include <cstring>

#include "text/verse_index.h"
#include "tools/write_all.h"

namespace quorel::mkdsf {
namespace {

// The temporary files that a signal handler removes, the data file's and its index's: fixed
// buffers, since the handler may only call async-signal-safe functions.
char pending_temporary[4096];
volatile std::sig_atomic_t temporary_pending = 0;
char pending_index_temporary[4096];
volatile std::sig_atomic_t index_temporary_pending = 0;

extern "C" void RemoveTemporaryAndDie(int signal_number) {
  if (temporary_pending != 0) {
    unlink(pending_temporary);
  }
  if (index_temporary_pending != 0) {
    unlink(pending_index_temporary);
  }
  std::signal(signal_number, SIG_DFL);
  std::raise(signal_number);
}

// Lets the handler remove the index's temporary file too.
void AlsoRemoveOnSignals(const std::filesystem::path& temporary) {
  const std::string& name = temporary.native();
  if (name.size() >= sizeof pending_index_temporary) {
    return;
  }
  index_temporary_pending = 0;
  std::memcpy(pending_index_temporary, name.c_str(), name.size() + 1);
  index_temporary_pending = 1;
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

// Holds back Ctrl-C, SIGTERM and SIGHUP for as long as it lives; they arrive when it ends.
class SignalsHeld {
 public:
  SignalsHeld() {
    sigset_t signals;
    sigemptyset(&signals);
    for (const int signal_number : {SIGINT, SIGTERM, SIGHUP}) {
      sigaddset(&signals, signal_number);
    }
    sigprocmask(SIG_BLOCK, &signals, &before_);
  }
  ~SignalsHeld() { sigprocmask(SIG_SETMASK, &before_, nullptr); }
  SignalsHeld(const SignalsHeld&) = delete;
  SignalsHeld& operator=(const SignalsHeld&) = delete;

 private:
  sigset_t before_;
};

void NoLongerPending() {
  temporary_pending = 0;
}

void IndexNoLongerPending() {
  index_temporary_pending = 0;
}

// Removes `file` if it is there; gives errno, or 0.
int RemoveIfThere(const std::filesystem::path& file) {
  return unlink(file.c_str()) == 0 || errno == ENOENT ? 0 : errno;
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
int WriteAndSync(int descriptor, std::string_view bytes) {
  if (const int error = WriteAll(descriptor, bytes); error != 0) {
    return error;
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
  // A signal between creating the temporary file and handing it to the handler would leave it
  // behind: the signals wait until the handler knows the file.
  const SignalsHeld held;
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
  const int write_error = WriteAndSync(descriptor_, bytes);
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

std::string DataFileWriter::Commit(std::string_view bytes, std::string_view index,
                                   Overwrite overwrite) {
  if (!failure_.empty()) {
    return failure_;
  }
  const std::filesystem::path index_file = VerseIndexPathFor(file_);
  const int write_error = WriteAndSync(descriptor_, bytes);
  const int close_error = close(descriptor_) == 0 ? 0 : errno;
  descriptor_ = -1;
  if (write_error != 0 || close_error != 0) {
    return "Could not write " + file_.string() + ": " +
           Cause(write_error != 0 ? write_error : close_error);
  }
  // The index's temporary file, removed again on every way out but success.
  std::filesystem::path index_temporary;
  const auto drop_index = [&] {
    if (!index_temporary.empty()) {
      unlink(index_temporary.c_str());
    }
    IndexNoLongerPending();
  };
  if (!index.empty()) {
    int descriptor = -1;
    {
      const SignalsHeld held;
      descriptor = CreateTemporary(index_file, index_temporary);
      if (descriptor >= 0) {
        AlsoRemoveOnSignals(index_temporary);
      }
    }
    if (descriptor < 0) {
      index_temporary.clear();
      return "Could not create a file in the folder of " + index_file.string() + ": " +
             Cause(errno);
    }
    const int index_error = WriteAndSync(descriptor, index);
    const int index_close_error = close(descriptor) == 0 ? 0 : errno;
    if (index_error != 0 || index_close_error != 0) {
      drop_index();
      return "Could not write " + index_file.string() + ": " +
             Cause(index_error != 0 ? index_error : index_close_error);
    }
  }
  // Refusing to replace the data file must not cost the old one its index.
  if (overwrite == Overwrite::kRefuse) {
    std::error_code ignored;
    if (std::filesystem::exists(std::filesystem::symlink_status(file_, ignored))) {
      drop_index();
      return ExistsSentence(file_);
    }
  }
  if (const int error = RemoveIfThere(index_file); error != 0) {
    drop_index();
    return "Could not remove the old verse index " + index_file.string() + ": " + Cause(error);
  }
  if (std::string failure = MoveIntoPlace(temporary_, file_, overwrite); !failure.empty()) {
    drop_index();
    return failure;
  }
  temporary_.clear();  // it is the data file now
  NoLongerPending();
  if (!index.empty() && rename(index_temporary.c_str(), index_file.c_str()) != 0) {
    const int error = errno;
    drop_index();
    return "The data file was written, but its verse index " + index_file.string() +
           " could not be: " + Cause(error);
  }
  IndexNoLongerPending();
  return {};
}

std::string WriteDataFile(const std::filesystem::path& file, std::string_view bytes,
                          Overwrite overwrite) {
  DataFileWriter writer(file);
  return writer.Commit(bytes, overwrite);
}

std::string WriteDataFileAndIndex(const std::filesystem::path& file, std::string_view bytes,
                                  std::string_view index, Overwrite overwrite) {
  DataFileWriter writer(file);
  return writer.Commit(bytes, index, overwrite);
}

}  // namespace quorel::mkdsf
