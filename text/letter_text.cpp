// SPDX-License-Identifier: GPL-3.0-or-later
#include "text/letter_text.h"

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <memory>
#include <system_error>

#include "text/code_page.h"
#include "text/data_file_bytes.h"

namespace quorel {
namespace {

std::string HexByte(unsigned char byte) {
  constexpr char kDigits[] = "0123456789ABCDEF";
  return std::string("0x") + kDigits[byte >> 4] + kDigits[byte & 0xF];
}

std::string FolderOf(const std::filesystem::path& file) {
  std::error_code error;
  std::filesystem::path absolute = std::filesystem::absolute(file, error);
  if (error) {
    absolute = file;
  }
  std::string folder = absolute.lexically_normal().parent_path().string();
  return folder.empty() ? "." : folder;
}

// One sentence: what failed, with the file and the folder it was looked for in.
std::string Failure(const std::filesystem::path& file, const std::string& cause) {
  return "The letter text could not be loaded: " + file.filename().string() + " in the folder " +
         FolderOf(file) + " " + cause + ".";
}

std::string SystemMessage(int error_number) {
  return std::generic_category().message(error_number);
}

// The cause, if `file` is not something the load should open at all.
std::optional<std::string> RefusalBeforeOpening(const std::filesystem::path& file) {
  std::error_code error;
  const std::filesystem::file_status status = std::filesystem::status(file, error);
  if (status.type() == std::filesystem::file_type::not_found) {
    return "was not found";
  }
  if (error) {
    return "could not be looked at (" + error.message() + ")";
  }
  if (status.type() == std::filesystem::file_type::directory) {
    return "is a folder, not a file";
  }
  // A named pipe or a device could hold the window for ever or never end: refuse it unopened.
  switch (status.type()) {
    case std::filesystem::file_type::regular:
      break;
    case std::filesystem::file_type::fifo:
      return "is a named pipe, not a regular file";
    case std::filesystem::file_type::character:
    case std::filesystem::file_type::block:
      return "is a device, not a regular file";
    default:
      return "is not a regular file";
  }
  return std::nullopt;
}

struct FileCloser {
  void operator()(std::FILE* file) const { std::fclose(file); }
};

}  // namespace

LetterText::LetterText() : padded_(static_cast<std::size_t>(TEXT_LENGTH + 2 * kPadding), kBlank) {}

void LetterText::SetFromByte(std::int32_t p, unsigned char byte) {
  padded_[static_cast<std::size_t>(p + kPadding - 1)] = CharacterForByte(byte);
  file_length_ = std::max(file_length_, p);
}

char16_t CharacterForByte(unsigned char byte) {
  return Windows1255ToUnicode(static_cast<std::uint8_t>(byte + kByteRuleOffset));
}

std::optional<LetterText> LetterTextFromBytes(std::string_view bytes, std::string& failure) {
  if (bytes.size() > static_cast<std::size_t>(TEXT_LENGTH)) {
    failure =
        "holds more than " + std::to_string(TEXT_LENGTH) + " bytes, more than the text has letters";
    return std::nullopt;
  }
  LetterText text;
  std::int32_t position = 0;
  for (const char c : bytes) {
    const auto byte = static_cast<unsigned char>(c);
    ++position;
    if (byte >= kFirstByteWithoutCharacter) {
      failure = "holds the byte " + HexByte(byte) + " at position " + std::to_string(position) +
                ", which stands for no letter";
      return std::nullopt;
    }
    text.SetFromByte(position, byte);
  }
  return text;
}

LoadResult LoadLetterText() {
  return LoadLetterText(std::filesystem::path(kDataFileName));
}

LoadResult LoadLetterText(const std::filesystem::path& file) {
  if (std::optional<std::string> refusal = RefusalBeforeOpening(file)) {
    return {std::nullopt, Failure(file, *refusal)};
  }
  errno = 0;
  std::unique_ptr<std::FILE, FileCloser> stream(std::fopen(file.c_str(), "rb"));
  if (!stream) {
    return {std::nullopt, Failure(file, "could not be opened (" + SystemMessage(errno) + ")")};
  }
  // One byte more than the text can hold is enough to tell that the file is too long.
  std::string bytes(static_cast<std::size_t>(TEXT_LENGTH) + 1, '\0');
  const std::size_t count = std::fread(bytes.data(), 1, bytes.size(), stream.get());
  if (std::ferror(stream.get()) != 0) {
    return {std::nullopt, Failure(file, "could not be read (" + SystemMessage(errno) + ")")};
  }
  stream.reset();
  bytes.resize(count);

  std::string cause;
  std::optional<LetterText> text = LetterTextFromBytes(bytes, cause);
  if (!text) {
    return {std::nullopt, Failure(file, cause)};
  }
  return {std::move(text), {}};
}

}  // namespace quorel
