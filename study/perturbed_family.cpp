// SPDX-License-Identifier: GPL-3.0-or-later
#include "study/perturbed_family.h"

#include <algorithm>
#include <cstdlib>

#include "scan/directional_scanner.h"

namespace quorel {
namespace {

bool LetterAt(std::u16string_view letters, std::int64_t position, char16_t letter) {
  return position >= 0 && position < static_cast<std::int64_t>(letters.size()) &&
         letters[static_cast<std::size_t>(position)] == letter;
}

// Tries the 125 places of the word's last three letters for the sequence (n, d) whose first
// k - 3 letters already match, and adds it to the family of every triple that spells the word.
void AddPerturbedMatches(std::u16string_view letters, std::u16string_view word, std::int64_t start,
                         std::int32_t skip, Families& families) {
  const auto k = static_cast<std::int64_t>(word.size());
  const Sequence sequence = PlainSequence(start, skip, static_cast<int>(k));
  const std::int64_t third_last = start + (k - 3) * skip;
  for (int x = -2; x <= 2; ++x) {
    if (!LetterAt(letters, third_last + x, word[static_cast<std::size_t>(k - 3)])) {
      continue;
    }
    for (int y = -2; y <= 2; ++y) {
      if (!LetterAt(letters, third_last + skip + x + y, word[static_cast<std::size_t>(k - 2)])) {
        continue;
      }
      for (int z = -2; z <= 2; ++z) {
        if (LetterAt(letters, third_last + 2 * std::int64_t{skip} + x + y + z,
                     word[static_cast<std::size_t>(k - 1)])) {
          families[static_cast<std::size_t>(PerturbationIndex({x, y, z}))].push_back(sequence);
        }
      }
    }
  }
}

bool EveryLetterOccurs(std::u16string_view letters, std::u16string_view word) {
  return std::all_of(word.begin(), word.end(),
                     [&](char16_t c) { return letters.find(c) != std::u16string_view::npos; });
}

// The skips of a family in the order its members are kept: -2, 2, -3, 3, ...
template <typename Visit>
void ForEachSkip(std::int32_t largest_skip, Visit visit) {
  for (std::int32_t magnitude = 2; magnitude <= largest_skip; ++magnitude) {
    visit(-magnitude);
    visit(magnitude);
  }
}

}  // namespace

std::vector<std::int64_t> PerturbedPositions(std::int64_t start, std::int32_t skip, int k,
                                             Perturbation t) {
  std::vector<std::int64_t> positions;
  positions.reserve(static_cast<std::size_t>(k));
  for (int j = 0; j < k; ++j) {
    std::int64_t shift = 0;
    if (j >= k - 3) {
      shift += t.x;
    }
    if (j >= k - 2) {
      shift += t.y;
    }
    if (j >= k - 1) {
      shift += t.z;
    }
    positions.push_back(start + std::int64_t{j} * skip + shift);
  }
  return positions;
}

Sequence PlainSequence(std::int64_t start, std::int32_t skip, int k) {
  const std::int64_t end = start + std::int64_t{k - 1} * skip;
  return {start, skip, std::min(start, end), std::max(start, end)};
}

Families PerturbedFamilies(std::u16string_view letters, std::u16string_view word,
                           std::int32_t largest_skip) {
  Families families;
  const auto k = static_cast<std::int64_t>(word.size());
  // A letter that the text lacks leaves every family empty; no need to try any skip.
  if (k < kShortestPerturbedWord || !EveryLetterOccurs(letters, word)) {
    return families;
  }
  const auto length = static_cast<std::int64_t>(letters.size());
  std::vector<std::int32_t> finds;
  if (k - 3 >= 2) {
    const std::u16string_view prefix = word.substr(0, static_cast<std::size_t>(k - 3));
    const DirectionalScanner scanner(letters, prefix);
    ForEachSkip(largest_skip, [&](std::int32_t skip) {
      scanner.FindsAtSkip(skip, finds);
      for (const std::int32_t one_based : finds) {
        AddPerturbedMatches(letters, word, one_based - 1, skip, families);
      }
    });
    return families;
  }
  // One letter before the last three, or none: the starts come from the positions of the word's
  // first letter, moved back by x when that letter is itself perturbed.
  std::vector<std::int64_t> first_letter;
  for (std::int64_t p = 0; p < length; ++p) {
    if (letters[static_cast<std::size_t>(p)] == word[0]) {
      first_letter.push_back(p);
    }
  }
  ForEachSkip(largest_skip, [&](std::int32_t skip) {
    if (k == 4) {
      for (const std::int64_t start : first_letter) {
        AddPerturbedMatches(letters, word, start, skip, families);
      }
      return;
    }
    // Three letters: the start n is the first letter's position less x, so each position gives
    // up to five starts; every one is tried once, in increasing order.
    std::vector<std::int64_t> starts;
    for (const std::int64_t p : first_letter) {
      for (int x = 2; x >= -2; --x) {
        if (starts.empty() || starts.back() < p - x) {
          starts.push_back(p - x);
        }
      }
    }
    for (const std::int64_t start : starts) {
      AddPerturbedMatches(letters, word, start, skip, families);
    }
  });
  return families;
}

Families PerturbedFamiliesDirect(std::u16string_view letters, std::u16string_view word,
                                 std::int32_t largest_skip) {
  Families families;
  const int k = static_cast<int>(word.size());
  if (k < kShortestPerturbedWord) {
    return families;
  }
  const auto length = static_cast<std::int64_t>(letters.size());
  ForEachSkip(largest_skip, [&](std::int32_t skip) {
    // Every start whose letters could lie in the text: the shifts add up to at most 6 either way.
    for (std::int64_t start = -6 - std::int64_t{k} * std::abs(skip);
         start < length + 6 + std::int64_t{k} * std::abs(skip); ++start) {
      for (int t = 0; t < kPerturbationCount; ++t) {
        const std::vector<std::int64_t> positions =
            PerturbedPositions(start, skip, k, PerturbationAt(t));
        bool spelled = true;
        for (int j = 0; j < k && spelled; ++j) {
          spelled = LetterAt(letters, positions[static_cast<std::size_t>(j)],
                             word[static_cast<std::size_t>(j)]);
        }
        if (spelled) {
          families[static_cast<std::size_t>(t)].push_back(PlainSequence(start, skip, k));
        }
      }
    }
  });
  return families;
}

}  // namespace quorel
