// SPDX-License-Identifier: GPL-3.0-or-later
// The corrected distance c(w, w') of two words: the share of the perturbed triples whose
// sequences come at least as close, by the measure Ω, as the real ones do.
#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "study/domain_of_minimality.h"
#include "study/largest_skip.h"
#include "study/perturbed_family.h"

namespace quorel {

// A member of a family that has a domain of minimality, the only members Ω counts.
struct DomainMember {
  Sequence sequence;
  Domain domain;
};

// Everything about one word that its corrected distances to other words need; made once per
// word and shared by all its pairs.
struct WordFamilies {
  std::u16string word;  // final forms folded
  std::int32_t largest_skip = 0;
  Families families;
  std::array<std::vector<DomainMember>, kPerturbationCount> with_domain;
};

// The families of `word` (final forms folded, kShortestPerturbedWord letters or more) in
// `letters` (folded too), up to the word's largest skip, with their domains.
WordFamilies FamiliesOfWord(std::u16string_view letters, const LetterCounts& counts,
                            std::u16string_view word);

// σ(e, e'): the sum over the row widths h_1..h_10 of e and then of e', leaving out widths of 0,
// of 1 / (f² + f'² + l²), where f² and f'² are the cylinder distances of the two skips and l²
// the smallest cylinder distance between a plain letter of e and one of e'.
double SequenceProximity(const Sequence& e, int k, const Sequence& e_prime, int k_prime);

// Ω_t: the sum over the members with a domain of the two families of the overlap of their
// domains times σ; pairs whose domains do not overlap add nothing.
double TripleMeasure(const std::vector<DomainMember>& family, int k,
                     const std::vector<DomainMember>& family_prime, int k_prime);

struct CorrectedDistance {
  // Ω_t of every triple; 0 for a triple outside M.
  std::array<double, kPerturbationCount> omega{};
  // Whether the triple is in M: both of its families have members.
  std::array<bool, kPerturbationCount> in_measure{};
  // c = at_least_real / triples: the triples of M with Ω_t >= Ω of the real triple, and |M|.
  std::int64_t at_least_real = 0;
  std::int64_t triples = 0;

  // c is defined when the real triple is in M and M has at least `min_triples` triples.
  bool IsDefined(std::int64_t min_triples) const {
    return in_measure[kRealPerturbation] && triples >= min_triples;
  }
};

CorrectedDistance CorrectedDistanceOf(const WordFamilies& w, const WordFamilies& w_prime);

}  // namespace quorel
