// SPDX-License-Identifier: GPL-3.0-or-later
// The data file's bytes: any bytes load, or fail for exactly the two reasons a file can be bad.
#include <string>
#include <string_view>

#include "fuzz_input.h"
#include "text/letter_text.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  using namespace quorel;
  const std::string_view bytes(reinterpret_cast<const char*>(data), size);
  std::string failure;
  const std::optional<LetterText> text = LetterTextFromBytes(bytes, failure);

  bool loadable = size <= static_cast<std::size_t>(TEXT_LENGTH);
  for (std::size_t k = 0; loadable && k < size; ++k) {
    loadable = data[k] < 0xA0;
  }
  fuzz::Check(text.has_value() == loadable);
  fuzz::Check(failure.empty() == loadable);
  if (text) {
    for (std::size_t k = 0; k < size; ++k) {
      fuzz::Check(text->At(static_cast<std::int32_t>(k + 1)) == CharacterForByte(data[k]));
    }
    fuzz::Check(text->Letters().size() == static_cast<std::size_t>(TEXT_LENGTH));
    fuzz::Check(
        text->At(TEXT_LENGTH) ==
        (size == static_cast<std::size_t>(TEXT_LENGTH) ? CharacterForByte(data[size - 1]) : u' '));
  }
  return 0;
}
