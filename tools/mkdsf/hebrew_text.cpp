// SPDX-License-Identifier: GPL-3.0-or-later
#include "hebrew_text.h"

#include <array>

#include "text/data_file_bytes.h"

namespace quorel::mkdsf {
namespace {

// Hebrew letters written with their Unicode escapes, so the table reads without bidi trouble.
constexpr char32_t kLetters[] =
    U"\u05D0\u05D1\u05D2\u05D3\u05D4\u05D5\u05D6\u05D7\u05D8\u05D9\u05DA\u05DB\u05DC\u05DD"
    U"\u05DE\u05DF\u05E0\u05E1\u05E2\u05E3\u05E4\u05E5\u05E6\u05E7\u05E8\u05E9\u05EA";

constexpr std::u32string_view Letter(char32_t c) {
  return std::u32string_view(kLetters + (c - kAlef), 1);
}

// The presentation forms U+FB1D..U+FB4F, in code order; empty where the code is a mark,
// unassigned or no letter.
constexpr char32_t kFirstPresentationForm = 0xFB1D;
const std::array<std::u32string_view, 0xFB50 - 0xFB1D> kPresentationForms = {
    U"\u05D9",        // FB1D yod with hiriq
    U"",              // FB1E point judeo-spanish varika
    U"\u05D9\u05D9",  // FB1F ligature yiddish yod yod patah
    U"\u05E2",        // FB20 alternative ayin
    U"\u05D0",        // FB21 wide alef
    U"\u05D3",        // FB22 wide dalet
    U"\u05D4",        // FB23 wide he
    U"\u05DB",        // FB24 wide kaf
    U"\u05DC",        // FB25 wide lamed
    U"\u05DD",        // FB26 wide final mem
    U"\u05E8",        // FB27 wide resh
    U"\u05EA",        // FB28 wide tav
    U"",              // FB29 alternative plus sign
    U"\u05E9",        // FB2A shin with shin dot
    U"\u05E9",        // FB2B shin with sin dot
    U"\u05E9",        // FB2C shin with dagesh and shin dot
    U"\u05E9",        // FB2D shin with dagesh and sin dot
    U"\u05D0",        // FB2E alef with patah
    U"\u05D0",        // FB2F alef with qamats
    U"\u05D0",        // FB30 alef with mapiq
    U"\u05D1",        // FB31 bet with dagesh
    U"\u05D2",        // FB32 gimel with dagesh
    U"\u05D3",        // FB33 dalet with dagesh
    U"\u05D4",        // FB34 he with mapiq
    U"\u05D5",        // FB35 vav with dagesh
    U"\u05D6",        // FB36 zayin with dagesh
    U"",              // FB37 unassigned
    U"\u05D8",        // FB38 tet with dagesh
    U"\u05D9",        // FB39 yod with dagesh
    U"\u05DA",        // FB3A final kaf with dagesh
    U"\u05DB",        // FB3B kaf with dagesh
    U"\u05DC",        // FB3C lamed with dagesh
    U"",              // FB3D unassigned
    U"\u05DE",        // FB3E mem with dagesh
    U"",              // FB3F unassigned
    U"\u05E0",        // FB40 nun with dagesh
    U"\u05E1",        // FB41 samekh with dagesh
    U"",              // FB42 unassigned
    U"\u05E3",        // FB43 final pe with dagesh
    U"\u05E4",        // FB44 pe with dagesh
    U"",              // FB45 unassigned
    U"\u05E6",        // FB46 tsadi with dagesh
    U"\u05E7",        // FB47 qof with dagesh
    U"\u05E8",        // FB48 resh with dagesh
    U"\u05E9",        // FB49 shin with dagesh
    U"\u05EA",        // FB4A tav with dagesh
    U"\u05D5",        // FB4B vav with holam
    U"\u05D1",        // FB4C bet with rafe
    U"\u05DB",        // FB4D kaf with rafe
    U"\u05E4",        // FB4E pe with rafe
    U"\u05D0\u05DC",  // FB4F alef lamed ligature
};

}  // namespace

std::u32string_view LettersOf(char32_t c) {
  if (IsHebrewLetter(c)) {
    return Letter(c);
  }
  switch (c) {
    case 0x05F0:
      return U"\u05D5\u05D5";  // double vav
    case 0x05F1:
      return U"\u05D5\u05D9";  // vav yod
    case 0x05F2:
      return U"\u05D9\u05D9";  // double yod
    default:
      break;
  }
  if (c >= kFirstPresentationForm && c - kFirstPresentationForm < kPresentationForms.size()) {
    return kPresentationForms[c - kFirstPresentationForm];
  }
  return {};
}

void AppendHebrewLetters(std::u32string_view text, std::string& bytes) {
  for (const char32_t c : text) {
    for (const char32_t letter : LettersOf(c)) {
      bytes.push_back(LetterByte(letter));
    }
  }
}

}  // namespace quorel::mkdsf
