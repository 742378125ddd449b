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

}  // namespace quorel::mkdsf
