// SPDX-License-Identifier: GPL-3.0-or-later
// A scratch folder for one test, removed with everything in it when the test ends.
#pragma once

#include <filesystem>
#include <fstream>
#include <random>
#include <sstream>
#include <string>
#include <string_view>

#include "text/data_file_bytes.h"
#include "text/utf.h"

namespace quorel::test {

class TempDir {
 public:
  TempDir() {
    std::random_device seed;
    path_ = std::filesystem::temp_directory_path() /
            ("quorel-test-" + std::to_string(seed()) + std::to_string(seed()));
    std::filesystem::create_directories(path_);
  }
  ~TempDir() {
    std::error_code ignored;
    std::filesystem::permissions(path_, std::filesystem::perms::owner_all,
                                 std::filesystem::perm_options::add, ignored);
    std::filesystem::remove_all(path_, ignored);
  }
  TempDir(const TempDir&) = delete;
  TempDir& operator=(const TempDir&) = delete;

  const std::filesystem::path& path() const { return path_; }

  std::filesystem::path Write(const std::string& name, std::string_view bytes) const {
    const std::filesystem::path file = path_ / name;
    std::ofstream(file, std::ios::binary)
        .write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    return file;
  }

 private:
  std::filesystem::path path_;
};

inline std::string ReadFile(const std::filesystem::path& file) {
  std::ifstream in(file, std::ios::binary);
  std::ostringstream text;
  text << in.rdbuf();
  return text.str();
}

// The data-file bytes of a text written with the letters U+05D0..U+05EA (and blanks, which are
// not in the format but stand for a byte that no target letter matches).
inline std::string DataFileBytes(std::u16string_view letters) {
  std::string bytes;
  for (const char16_t c : letters) {
    bytes.push_back(c == u' ' ? ' ' : LetterByte(c));
  }
  return bytes;
}

// The UTF-8 of the letter that a data-file letter byte (0x80..0x9A) stands for.
inline std::string LetterUtf8(unsigned char byte) {
  return Utf16ToUtf8(std::u16string(1, LetterOfByte(byte)));
}

}  // namespace quorel::test
