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

 private:
  std::filesystem::path file_;
  std::filesystem::path temporary_;
  int descriptor_ = -1;
  std::string failure_;
};

// A DataFileWriter made and committed in one step.
std::string WriteDataFile(const std::filesystem::path& file, std::string_view bytes,
                          Overwrite overwrite);

}  // namespace quorel::mkdsf
