// SPDX-License-Identifier: GPL-3.0-or-later
// The domain of minimality: rivals to the left, to the right and inside.
#include "study/domain_of_minimality.h"

#include <gtest/gtest.h>

namespace quorel {
namespace {

Sequence Member(std::int64_t start, std::int32_t skip) {
  return PlainSequence(start, skip, 5);
}

TEST(DomainsOfMinimality, FollowTheRivalsToTheLeftRightAndInside) {
  // The member under test: start 100, skip 10, extent [100, 140].
  struct Case {
    const char* what;
    Family rivals;
    std::optional<Domain> domain;
  };
  const Case cases[] = {
      {"no rival", {}, Domain{0, 1000}},
      {"left: a' < a raises lo to a'", {Member(90, 5)}, Domain{90, 1000}},
      {"left, the nearest wins", {Member(60, 5), Member(95, 3)}, Domain{95, 1000}},
      {"right: a' >= a and b' > b lowers hi to b'", {Member(130, 4)}, Domain{0, 146}},
      {"left, ending where e starts", {Member(100, -9)}, Domain{64, 1000}},
      {"left and right", {Member(80, 6), Member(139, 2), Member(150, 3)}, Domain{80, 147}},
      {"inside: no domain", {Member(105, 5)}, std::nullopt},
      {"inside after a left one", {Member(50, 2), Member(101, 2)}, std::nullopt},
      {"ending where e ends: inside", {Member(140, -2)}, std::nullopt},
  };
  for (const Case& c : cases) {
    Family family = c.rivals;
    family.push_back(Member(100, 10));
    const std::vector<std::optional<Domain>> domains = DomainsOfMinimality(family, 1000);
    const std::optional<Domain>& got = domains.back();
    ASSERT_EQ(got.has_value(), c.domain.has_value()) << c.what;
    if (got) {
      EXPECT_EQ(got->low, c.domain->low) << c.what;
      EXPECT_EQ(got->high, c.domain->high) << c.what;
    }
  }
}

TEST(DomainsOfMinimality, EqualSkipsAreNoRivalsInEitherDirection) {
  // Three members of |skip| 10: none is the rival of another, whatever their places.
  const Family family = {Member(100, -10), Member(100, 10), Member(110, 10)};
  for (const std::optional<Domain>& domain : DomainsOfMinimality(family, 500)) {
    ASSERT_TRUE(domain.has_value());
    EXPECT_EQ(domain->low, 0);
    EXPECT_EQ(domain->high, 500);
  }
}

TEST(DomainsOfMinimality, ComeInTheFamilysOrderWhateverTheOrderOfSkips) {
  // The smallest skip last: the others see it as their rival all the same.
  const Family family = {Member(0, 30), Member(200, 20), Member(10, 2)};
  const std::vector<std::optional<Domain>> domains = DomainsOfMinimality(family, 400);
  // [0, 120] has [10, 18] inside it.
  EXPECT_FALSE(domains[0].has_value());
  ASSERT_TRUE(domains[1].has_value());
  EXPECT_EQ(domains[1]->low, 10);
  EXPECT_EQ(domains[1]->high, 400);
  ASSERT_TRUE(domains[2].has_value());
}

}  // namespace
}  // namespace quorel
