// SPDX-License-Identifier: GPL-3.0-or-later
// The letter text of a run, loaded afresh from the data file at every search.
#pragma once

#include <cstdint>
#include <filesystem>
#include <optional>
#include <string>
#include <string_view>

namespace quorel {

// The number of letters of the text.
inline constexpr std::int32_t TEXT_LENGTH = 304805;
// Blanks on each side of the letters in PaddedText, so a view can cut 25 letters either side of
// any position without a bounds test.
inline constexpr std::int32_t kPadding = 25;
// The data file, looked up by its bare name in the current working directory.
inline constexpr char kDataFileName[] = "Quorel.DSF";

// `LetterText` and `PaddedText` of one run. Only the padded string is stored: LetterText is the
// stretch of it between the two runs of blanks.
class LetterText {
 public:
  // TEXT_LENGTH blanks.
  LetterText();

  // The character at 1-based position p of LetterText, 1 <= p <= TEXT_LENGTH.
  char16_t At(std::int32_t p) const { return padded_[static_cast<std::size_t>(p + kPadding - 1)]; }
  // Positions 1..TEXT_LENGTH.
  std::u16string_view Letters() const {
    return std::u16string_view(padded_).substr(kPadding, TEXT_LENGTH);
  }
  // PaddedText: kPadding blanks, the letters, kPadding blanks.
  std::u16string_view Padded() const { return padded_; }
  // How many letters the data file held, 0..TEXT_LENGTH; the positions after them are blanks.
  std::int32_t FileLength() const { return file_length_; }
  // Positions 1..FileLength(): the letters the data file held, without the blanks after them.
  std::u16string_view FileLetters() const { return Letters().substr(0, file_length_); }

  // Puts the character that the byte rule gives for `byte` at position p. The byte must be
  // below 0xA0.
  void SetFromByte(std::int32_t p, unsigned char byte);

 private:
  std::u16string padded_;
  std::int32_t file_length_ = 0;
};

// The byte rule: a data-file byte below 0xA0 stands for the character whose Windows-1255 code
// is the byte plus 0x60.
char16_t CharacterForByte(unsigned char byte);

// What a load gives the run: the text, or one sentence that names the file, its folder and the
// cause of the failure.
struct LoadResult {
  std::optional<LetterText> text;
  std::string failure;  // UTF-8; empty when the load succeeded
};

// Reads the data file `Quorel.DSF` from the current working directory.
LoadResult LoadLetterText();
// Reads the data file at `file`. Never reads more than TEXT_LENGTH + 1 bytes, and refuses what
// is not a regular file (a folder, a named pipe, a device) without opening it.
LoadResult LoadLetterText(const std::filesystem::path& file);

// Turns the bytes of a data file into the letter text; fails on more than TEXT_LENGTH bytes or a
// byte from 0xA0 to 0xFF. `failure` gets the cause alone ("holds ..."), without the file.
std::optional<LetterText> LetterTextFromBytes(std::string_view bytes, std::string& failure);

}  // namespace quorel
