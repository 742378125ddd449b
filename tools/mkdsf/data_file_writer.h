// SPDX-License-Identifier: GPL-3.0-or-later
// Writing a data file so that no reader ever sees it half written, and no temporary file stays
// behind, not even after Ctrl-C.
#pragma once

#include <filesystem>
#include <string>
#include <string_view>

namespace quorel::mkdsf {

enum class Overwrite { kRefuse, kReplace };

// A new temporary file in the folder of `file`, made at once so that a folder that cannot be
// written fails before a long conversion. It is removed when the writer goes, unless Commit gave
// it the name `file`, and also when SIGINT, SIGTERM or SIGHUP end the program meanwhile.
class DataFileWriter {
 public:
  explicit DataFileWriter(std::filesystem::path file);
  ~DataFileWriter();
  DataFileWriter(const DataFileWriter&) = delete;
  DataFileWriter& operator=(const DataFileWriter&) = delete;

  // Empty when the temporary file was made; otherwise one sentence that names the folder and
  // the cause.
  const std::string& Failure() const { return failure_; }

  // Writes `bytes` into the temporary file, flushes it to disk and only then gives it the name
  // `file`. With Overwrite::kRefuse an existing `file` is left alone, even one that appeared
  // meanwhile. Returns an empty string on success, otherwise one sentence that names the file
  // and the cause.
  std::string Commit(std::string_view bytes, Overwrite overwrite);
  // The same, and beside the data file its verse index `index` (the file VerseIndexPathFor
  // names), so that a reader never finds a new data file beside an old index. The index goes to
  // a temporary file of its own first. Then the old index is removed, the data file is moved
  // into place, and the new index, when `index` is not empty, follows it: a crash between the
  // steps leaves at worst no index, never one of another text. A data file refused for
  // Overwrite::kRefuse leaves the old index alone. An index that cannot be put in place after
  // the data file was is reported as "The data file was written, but ...".
  std::string Commit(std::string_view bytes, std::string_view index, Overwrite overwrite);

 private:
  std::filesystem::path file_;
  std::filesystem::path temporary_;
  int descriptor_ = -1;
  std::string failure_;
};

// A DataFileWriter made and committed in one step.
std::string WriteDataFile(const std::filesystem::path& file, std::string_view bytes,
                          Overwrite overwrite);
// The same with the data file's verse index (see DataFileWriter::Commit).
std::string WriteDataFileAndIndex(const std::filesystem::path& file, std::string_view bytes,
                                  std::string_view index, Overwrite overwrite);

}  // namespace quorel::mkdsf
