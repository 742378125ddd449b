// SPDX-License-Identifier: GPL-3.0-or-later
// The data file's byte rule, both ways: one byte per position, and a byte b below 0xA0 stands
// for the character whose Windows-1255 code is b + 0x60. The Hebrew letters alef..tav, final
// forms included, are thus the bytes 0x80..0x9A, in the order of their Unicode codes.
#pragma once

#include "text/hebrew_letters.h"

namespace quorel {

// What is added to a data-file byte to give its Windows-1255 code.
inline constexpr unsigned char kByteRuleOffset = 0x60;
// Bytes from here on (Windows-1255 0x100 and past) stand for no character.
inline constexpr unsigned char kFirstByteWithoutCharacter = 0xA0;
// Windows-1255 holds alef at 0xE0, and the 27 letters in Unicode order after it.
inline constexpr unsigned char kAlefByte = 0xE0 - kByteRuleOffset;
inline constexpr unsigned char kTavByte = kAlefByte + kHebrewLetterCount - 1;

// Whether a data-file byte stands for a Hebrew letter.
constexpr bool IsLetterByte(unsigned char byte) {
  return byte >= kAlefByte && byte <= kTavByte;
}

// The data-file byte of a Hebrew letter (IsHebrewLetter).
constexpr char LetterByte(char32_t letter) {
  return static_cast<char>(kAlefByte + (letter - kAlef));
}

// The Hebrew letter of a letter byte (IsLetterByte).
constexpr char16_t LetterOfByte(unsigned char byte) {
  return static_cast<char16_t>(kAlef + (byte - kAlefByte));
}

static_assert(kAlefByte == 0x80 && kTavByte == 0x9A);

}  // namespace quorel
