// SPDX-License-Identifier: GPL-3.0-or-later
#include "study/corrected_distance.h"

#include <algorithm>
#include <array>
#include <cstdlib>
#include <limits>

#include "study/cylinder_distance.h"

namespace quorel {
namespace {

// The distances between the plain letters of e and those of e', worked out once for all widths.
class LetterDistances {
 public:
  LetterDistances(const Sequence& e, int k, const Sequence& e_prime, int k_prime) {
    for (int j = 0; j < k; ++j) {
      const std::int64_t p = e.start + std::int64_t{j} * e.skip;
      for (int j_prime = 0; j_prime < k_prime; ++j_prime) {
        const std::int64_t q = e_prime.start + std::int64_t{j_prime} * e_prime.skip;
        distances_.push_back(p > q ? p - q : q - p);
      }
    }
  }
  // l²: the smallest cylinder distance of them on width h.
  std::int64_t Closest(std::int64_t width) const {
    std::int64_t closest = std::numeric_limits<std::int64_t>::max();
    for (const std::int64_t distance : distances_) {
      closest = std::min(closest, CylinderDistanceSquared(distance, width));
    }
    return closest;
  }

 private:
  std::vector<std::int64_t> distances_;
};

// The proximity on one row width h (> 0).
double ProximityOnWidth(const Sequence& e, const Sequence& e_prime, const LetterDistances& letters,
                        std::int64_t width) {
  const std::int64_t f = CylinderDistanceSquared(std::abs(e.skip), width);
  const std::int64_t f_prime = CylinderDistanceSquared(std::abs(e_prime.skip), width);
  // f > 0 for every skip of 2 or more, so the sum is never 0.
  return 1.0 / static_cast<double>(f + f_prime + letters.Closest(width));
}

}  // namespace

WordFamilies FamiliesOfWord(std::u16string_view letters, const LetterCounts& counts,
                            std::u16string_view word) {
  WordFamilies result;
  result.word = std::u16string(word);
  result.largest_skip = LargestSkip(counts, word);
  result.families = PerturbedFamilies(letters, word, result.largest_skip);
  const auto length = static_cast<std::int64_t>(letters.size());
  for (std::size_t t = 0; t < result.families.size(); ++t) {
    const Family& family = result.families[t];
    const std::vector<std::optional<Domain>> domains = DomainsOfMinimality(family, length);
    for (std::size_t i = 0; i < family.size(); ++i) {
      if (domains[i]) {
        result.with_domain[t].push_back({family[i], *domains[i]});
      }
    }
  }
  return result;
}

double SequenceProximity(const Sequence& e, int k, const Sequence& e_prime, int k_prime) {
  // The 20 widths, sorted so that a width that occurs several times is worked out once and
  // counted as often as it occurs.
  std::array<std::int64_t, 2 * kRowWidthsPerSkip> widths{};
  const auto own = RowWidths(e.skip);
  const auto other = RowWidths(e_prime.skip);
  std::copy(own.begin(), own.end(), widths.begin());
  std::copy(other.begin(), other.end(), widths.begin() + kRowWidthsPerSkip);
  std::sort(widths.begin(), widths.end());
  const LetterDistances letters(e, k, e_prime, k_prime);
  double sum = 0.0;
  for (std::size_t i = 0; i < widths.size();) {
    std::size_t end = i;
    while (end < widths.size() && widths[end] == widths[i]) {
      ++end;
    }
    if (widths[i] > 0) {
      sum += static_cast<double>(end - i) * ProximityOnWidth(e, e_prime, letters, widths[i]);
    }
    i = end;
  }
  return sum;
}

double TripleMeasure(const std::vector<DomainMember>& family, int k,
                     const std::vector<DomainMember>& family_prime, int k_prime) {
  double omega = 0.0;
  for (const DomainMember& e : family) {
    for (const DomainMember& e_prime : family_prime) {
      const std::int64_t overlap =
          std::min(e.domain.high, e_prime.domain.high) - std::max(e.domain.low, e_prime.domain.low);
      if (overlap > 0) {
        omega += static_cast<double>(overlap) *
                 SequenceProximity(e.sequence, k, e_prime.sequence, k_prime);
      }
    }
  }
  return omega;
}

CorrectedDistance CorrectedDistanceOf(const WordFamilies& w, const WordFamilies& w_prime) {
  CorrectedDistance result;
  const auto k = static_cast<int>(w.word.size());
  const auto k_prime = static_cast<int>(w_prime.word.size());
  for (std::size_t t = 0; t < kPerturbationCount; ++t) {
    result.in_measure[t] = !w.families[t].empty() && !w_prime.families[t].empty();
    if (result.in_measure[t]) {
      ++result.triples;
      result.omega[t] = TripleMeasure(w.with_domain[t], k, w_prime.with_domain[t], k_prime);
    }
  }
  if (result.in_measure[kRealPerturbation]) {
    for (std::size_t t = 0; t < kPerturbationCount; ++t) {
      if (result.in_measure[t] && result.omega[t] >= result.omega[kRealPerturbation]) {
        ++result.at_least_real;
      }
    }
  }
  return result;
}

}  // namespace quorel
