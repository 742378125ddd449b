#include "data_file_writer.h"

#include <fcntl.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>

namespace quorel::mkdsf {
namespace {

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

std::string WriteDataFile(const std::filesystem::path& file, std::string_view bytes,
                          Overwrite overwrite) {
  std::filesystem::path temporary;
  const int descriptor = CreateTemporary(file, temporary);
  if (descriptor < 0) {
    return "Could not create a file in the folder of " + file.string() + ": " + Cause(errno);
  }
  const int write_error = WriteAll(descriptor, bytes);
  const int close_error = close(descriptor) == 0 ? 0 : errno;
  std::string failure;
  if (write_error != 0 || close_error != 0) {
    failure = "Could not write " + file.string() + ": " +
              Cause(write_error != 0 ? write_error : close_error);
  } else {
    failure = MoveIntoPlace(temporary, file, overwrite);
  }
  if (!failure.empty()) {
    unlink(temporary.c_str());
  }
  return failure;
}

}  // namespace quorel::mkdsf
