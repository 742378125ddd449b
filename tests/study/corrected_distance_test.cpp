// SPDX-License-Identifier: GPL-3.0-or-later
// σ of two sequences, Ω of a triple with its overlap weight, and c with its ties and M.
#include "study/corrected_distance.h"

#include <gtest/gtest.h>

#include "study_texts.h"

namespace quorel {
namespace {

// e: letters 0, 2, 4 (skip 2); e': letters 5, 8, 11 (skip 3).
const Sequence kE = PlainSequence(0, 2, 3);
const Sequence kEPrime = PlainSequence(5, 3, 3);

TEST(SequenceProximity, SumsOverBothSetsOfWidthsLeavingOutZeros) {
  // Widths of skip 2: 2, 1, 1, 1 and six zeros left out; of skip 3: 3, 2, 1, 1, 1, 1 and four
  // zeros. Worked by hand, f² + f'² + l² on each width (the closest letters are 4 and 5):
  //   width 1 (seven times): 4 + 9 + 1 = 14
  //   width 2 (twice):       1 + 2 + 1 = 4
  //   width 3 (once):        2 + 1 + 1 = 4
  // σ = 7/14 + 2/4 + 1/4 = 5/4.
  EXPECT_DOUBLE_EQ(SequenceProximity(kE, 3, kEPrime, 3), 1.25);
  EXPECT_DOUBLE_EQ(SequenceProximity(kEPrime, 3, kE, 3), 1.25);
}

TEST(SequenceProximity, UsesThePlainLettersOfEitherDirection) {
  // Skip -2 from 4 has the same letters 4, 2, 0 and the same widths as skip 2 from 0.
  EXPECT_DOUBLE_EQ(SequenceProximity(PlainSequence(4, -2, 3), 3, kEPrime, 3), 1.25);
}

TEST(TripleMeasure, WeighsEachPairByTheOverlapOfItsDomains) {
  const std::vector<DomainMember> w = {{kE, {0, 100}}, {kE, {50, 70}}};
  const std::vector<DomainMember> w_prime = {{kEPrime, {40, 300}}};
  // Overlaps 60 and 20, not the products of the domains' lengths.
  EXPECT_DOUBLE_EQ(TripleMeasure(w, 3, w_prime, 3), (60 + 20) * 1.25);
  // Domains that only touch or lie apart add nothing.
  const std::vector<DomainMember> apart = {{kEPrime, {100, 300}}};
  EXPECT_DOUBLE_EQ(TripleMeasure(w, 3, apart, 3), 0.0);
}

// Two words whose families are made by hand: one member each in the triples named.
struct HandFamilies {
  WordFamilies w;
  WordFamilies w_prime;

  HandFamilies() {
    w.word = u"אבג";
    w_prime.word = u"דהו";
  }
  void Both(int triple, Domain domain, Domain domain_prime) {
    Add(w, triple, kE, domain);
    Add(w_prime, triple, kEPrime, domain_prime);
  }
  static void Add(WordFamilies& word, int triple, const Sequence& e, std::optional<Domain> d) {
    word.families[static_cast<std::size_t>(triple)].push_back(e);
    if (d) {
      word.with_domain[static_cast<std::size_t>(triple)].push_back({e, *d});
    }
  }
};

TEST(CorrectedDistanceOf, CountsTheTriplesOfMAtLeastAsCloseAsTheRealOne) {
  HandFamilies hand;
  hand.Both(kRealPerturbation, {0, 100}, {0, 100});  // Ω = 125
  hand.Both(0, {0, 200}, {0, 200});                  // 250: closer
  hand.Both(1, {0, 100}, {0, 100});                  // 125: a tie counts (>=)
  hand.Both(2, {0, 50}, {0, 50});                    // 62.5: farther
  HandFamilies::Add(hand.w, 3, kE, Domain{0, 100});  // w' has no member: not in M
  HandFamilies::Add(hand.w, 4, kE, std::nullopt);    // in M, but nothing with a domain: Ω 0
  HandFamilies::Add(hand.w_prime, 4, kEPrime, Domain{0, 100});
  const CorrectedDistance c = CorrectedDistanceOf(hand.w, hand.w_prime);
  EXPECT_DOUBLE_EQ(c.omega[kRealPerturbation], 125.0);
  EXPECT_DOUBLE_EQ(c.omega[2], 62.5);
  EXPECT_FALSE(c.in_measure[3]);
  EXPECT_TRUE(c.in_measure[4]);
  EXPECT_EQ(c.triples, 5);
  EXPECT_EQ(c.at_least_real, 3);
  EXPECT_TRUE(c.IsDefined(1));
  EXPECT_TRUE(c.IsDefined(5));
  EXPECT_FALSE(c.IsDefined(6));
}

TEST(CorrectedDistanceOf, IsUndefinedWithoutARealSequenceOfBothWords) {
  HandFamilies hand;
  hand.Both(0, {0, 100}, {0, 100});
  HandFamilies::Add(hand.w, kRealPerturbation, kE, Domain{0, 100});
  const CorrectedDistance c = CorrectedDistanceOf(hand.w, hand.w_prime);
  EXPECT_EQ(c.triples, 1);
  EXPECT_FALSE(c.IsDefined(1));
}

}  // namespace
}  // namespace quorel

namespace quorel {
namespace {

// The families of a word as the reference finds them, with their domains.
WordFamilies ReferenceFamilies(std::u16string_view letters, const LetterCounts& counts,
                               std::u16string_view word) {
  WordFamilies result;
  result.word = std::u16string(word);
  result.largest_skip = LargestSkip(counts, word);
  result.families = PerturbedFamiliesDirect(letters, word, result.largest_skip);
  for (std::size_t t = 0; t < result.families.size(); ++t) {
    const Family& family = result.families[t];
    const auto domains = DomainsOfMinimality(family, static_cast<std::int64_t>(letters.size()));
    for (std::size_t i = 0; i < family.size(); ++i) {
      if (domains[i]) {
        result.with_domain[t].push_back({family[i], *domains[i]});
      }
    }
  }
  return result;
}

TEST(CorrectedDistanceOf, GivesWithTheFastFamiliesWhatTheReferenceFamiliesGive) {
  const std::u16string letters = testing::RandomLetters(1000, 5, 3);
  const LetterCounts counts = LetterCounts::Of(letters);
  const std::u16string w = {testing::Letter(0), testing::Letter(1), testing::Letter(2),
                            testing::Letter(3), testing::Letter(4)};
  const std::u16string w_prime = {testing::Letter(4), testing::Letter(3), testing::Letter(0),
                                  testing::Letter(2)};
  const CorrectedDistance fast = CorrectedDistanceOf(FamiliesOfWord(letters, counts, w),
                                                     FamiliesOfWord(letters, counts, w_prime));
  const CorrectedDistance reference = CorrectedDistanceOf(
      ReferenceFamilies(letters, counts, w), ReferenceFamilies(letters, counts, w_prime));
  EXPECT_GT(fast.triples, 0);
  EXPECT_EQ(fast.triples, reference.triples);
  EXPECT_EQ(fast.at_least_real, reference.at_least_real);
  EXPECT_EQ(fast.omega, reference.omega);
}

}  // namespace
}  // namespace quorel
