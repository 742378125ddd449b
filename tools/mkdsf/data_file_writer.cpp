#include "data_file_writer.h"

#include <fcntl.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>

#include "text/verse_index.h"

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

// A file written in full to a temporary beside its final name, and not yet moved there.
struct Staged {
  std::filesystem::path temporary;
  std::string failure;  // empty when staged
};

Staged Stage(const std::filesystem::path& file, std::string_view bytes) {
  Staged staged;
  const int descriptor = CreateTemporary(file, staged.temporary);
  if (descriptor < 0) {
    staged.failure =
        "Could not create a file in the folder of " + file.string() + ": " + Cause(errno);
    return staged;
  }
  const int write_error = WriteAll(descriptor, bytes);
  const int close_error = close(descriptor) == 0 ? 0 : errno;
  if (write_error != 0 || close_error != 0) {
    staged.failure = "Could not write " + file.string() + ": " +
                     Cause(write_error != 0 ? write_error : close_error);
    unlink(staged.temporary.c_str());
  }
  return staged;
}

// Removes `file` if it is there; gives errno, or 0.
int RemoveIfThere(const std::filesystem::path& file) {
  return unlink(file.c_str()) == 0 || errno == ENOENT ? 0 : errno;
}

}  // namespace

std::string WriteDataFile(const std::filesystem::path& file, std::string_view bytes,
                          Overwrite overwrite) {
  const Staged staged = Stage(file, bytes);
  if (!staged.failure.empty()) {
    return staged.failure;
  }
  std::string failure = MoveIntoPlace(staged.temporary, file, overwrite);
  if (!failure.empty()) {
    unlink(staged.temporary.c_str());
  }
  return failure;
}

std::string WriteDataFileAndIndex(const std::filesystem::path& file, std::string_view bytes,
                                  std::string_view index, Overwrite overwrite) {
  const std::filesystem::path index_file = VerseIndexPathFor(file);
  const Staged data = Stage(file, bytes);
  if (!data.failure.empty()) {
    return data.failure;
  }
  Staged staged_index;
  if (!index.empty()) {
    staged_index = Stage(index_file, index);
    if (!staged_index.failure.empty()) {
      unlink(data.temporary.c_str());
      return staged_index.failure;
    }
  }
  const auto drop_temporaries = [&] {
    unlink(data.temporary.c_str());
    if (!index.empty()) {
      unlink(staged_index.temporary.c_str());
    }
  };
  // Refusing to replace the data file must not cost the old one its index.
  if (overwrite == Overwrite::kRefuse) {
    std::error_code ignored;
    if (std::filesystem::exists(std::filesystem::symlink_status(file, ignored))) {
      drop_temporaries();
      return ExistsSentence(file);
    }
  }
  if (const int error = RemoveIfThere(index_file); error != 0) {
    drop_temporaries();
    return "Could not remove the old verse index " + index_file.string() + ": " + Cause(error);
  }
  if (std::string failure = MoveIntoPlace(data.temporary, file, overwrite); !failure.empty()) {
    drop_temporaries();
    return failure;
  }
  if (!index.empty() && rename(staged_index.temporary.c_str(), index_file.c_str()) != 0) {
    const int error = errno;
    unlink(staged_index.temporary.c_str());
    return "The data file was written, but its verse index " + index_file.string() +
           " could not be: " + Cause(error);
  }
  return {};
}

}  // namespace quorel::mkdsf
