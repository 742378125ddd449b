// SPDX-License-Identifier: GPL-3.0-or-later
#include "tools/study/distance_text.h"

#include "study/perturbed_family.h"
#include "text/hebrew_letters.h"
#include "text/letter_text.h"
#include "tools/study/study_run.h"

namespace quorel {

DistanceText LoadDistanceText(const std::string& data) {
  LoadResult loaded = LoadLetterText(data);
  if (!loaded.text) {
    throw StudyFailure{loaded.failure, kStudyUsage};
  }
  DistanceText text;
  text.letters = FoldFinals(loaded.text->FileLetters());
  text.counts = LetterCounts::Of(text.letters);
  return text;
}

std::u16string DistanceWord(const std::string& typed) {
  std::u16string word = FoldFinals(PrepareStudyWord(typed));
  static_assert(kShortestPerturbedWord == 3, "the message below names the shortest word");
  if (word.size() < static_cast<std::size_t>(kShortestPerturbedWord)) {
    std::string message;
    message.append(typed).append(
        ": shorter than 3 letters; the perturbations move a word's last three letters");
    throw StudyFailure{message, kStudyRefused};
  }
  return word;
}

}  // namespace quorel
