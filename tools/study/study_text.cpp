#include "study_text.h"

#include <algorithm>

#include "study/perturbed_family.h"
#include "text/hebrew_letters.h"
#include "text/letter_text.h"
#include "text/utf.h"

namespace quorel {

std::optional<StudyText> LoadStudyText(std::string& failure) {
  LoadResult loaded = LoadLetterText();
  if (!loaded.text) {
    failure = loaded.failure;
    return std::nullopt;
  }
  StudyText text;
  text.letters = FoldFinals(loaded.text->FileLetters());
  text.counts = LetterCounts::Of(text.letters);
  return text;
}

std::optional<std::u16string> StudyWord(std::string_view typed, std::string& failure) {
  const std::u16string word = Utf8ToUtf16(typed);
  // Built by appending: GCC 12 warns falsely about a string literal + std::string here.
  std::string quoted;
  quoted.append("\"").append(typed).append("\"");
  if (word.empty() || !std::all_of(word.begin(), word.end(), IsHebrewLetter)) {
    failure = quoted.append(" is not a word of Hebrew letters only");
    return std::nullopt;
  }
  if (word.size() < static_cast<std::size_t>(kShortestPerturbedWord)) {
    failure = quoted.append(
        " is shorter than 3 letters; the perturbations move a word's last "
        "three letters");
    return std::nullopt;
  }
  return FoldFinals(word);
}

}  // namespace quorel
