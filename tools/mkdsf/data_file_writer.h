// Writing a data file so that no reader ever sees it half written.
#pragma once

#include <filesystem>
#include <string>
#include <string_view>

namespace quorel::mkdsf {

enum class Overwrite { kRefuse, kReplace };

// Writes `bytes` into a new temporary file in the folder of `file`, flushes it to disk and only
// then gives it the name `file`. With Overwrite::kRefuse an existing `file` is left alone, even
// one that appears while the bytes are written. Returns an empty string on success, otherwise
// one sentence that names the file and the cause; the temporary file is removed either way.
std::string WriteDataFile(const std::filesystem::path& file, std::string_view bytes,
                          Overwrite overwrite);

// Writes the data file and, beside it, its verse index `index` (the file text::VerseIndexPathFor
// names), so that a reader never sees a new data file with an old index. Both are written to
// temporary files first. Then the old index is removed, the data file is moved into place, and
// the new index, when `index` is not empty, follows it: a crash between the steps leaves at worst
// no index, never one of another text. The data file's refusals are those of WriteDataFile, and
// a refused data file leaves the old index alone. An index that cannot be put in place after the
// data file was is reported in the sentence, prefixed "The data file was written, but".
std::string WriteDataFileAndIndex(const std::filesystem::path& file, std::string_view bytes,
                                  std::string_view index, Overwrite overwrite);

}  // namespace quorel::mkdsf
