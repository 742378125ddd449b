// The letters of the data file: one byte per letter, code page 862's Hebrew block.
#pragma once

#include <cstdint>

namespace quorel::mkdsf {

// Alef to tav, U+05D0..U+05EA, the five final forms among them, each just before its regular
// form.
inline constexpr char32_t kAlef = U'\u05D0';
inline constexpr char32_t kTav = U'\u05EA';
// Code page 862 holds the same 27 letters in the same order from this byte on.
inline constexpr unsigned char kAlefByte = 0x80;

constexpr bool IsHebrewLetter(char32_t c) {
  return c >= kAlef && c <= kTav;
}

// The data-file byte of a Hebrew letter (IsHebrewLetter).
constexpr char LetterByte(char32_t letter) {
  return static_cast<char>(kAlefByte + (letter - kAlef));
}

// Kaf, mem, nun, pe and tsadi: the letters that take a final form at the end of a word.
constexpr bool HasFinalForm(char32_t letter) {
  return letter == U'\u05DB' || letter == U'\u05DE' || letter == U'\u05E0' || letter == U'\u05E4' ||
         letter == U'\u05E6';
}

// The final form of a letter that has one: the code just before it.
constexpr char32_t FinalForm(char32_t letter) {
  return letter - 1;
}

}  // namespace quorel::mkdsf
