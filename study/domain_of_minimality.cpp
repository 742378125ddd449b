// SPDX-License-Identifier: GPL-3.0-or-later
#include "study/domain_of_minimality.h"

#include <algorithm>
#include <cstdlib>

namespace quorel {

std::vector<std::optional<Domain>> DomainsOfMinimality(const Family& family,
                                                       std::int64_t text_length) {
  std::vector<std::optional<Domain>> domains(family.size());
  // The members by |skip|, so the rivals of each are the ones before its run of equal |skip|.
  std::vector<std::size_t> order(family.size());
  for (std::size_t i = 0; i < order.size(); ++i) {
    order[i] = i;
  }
  std::stable_sort(order.begin(), order.end(), [&](std::size_t a, std::size_t b) {
    return std::abs(family[a].skip) < std::abs(family[b].skip);
  });
  std::size_t rivals_end = 0;
  for (std::size_t at = 0; at < order.size(); ++at) {
    const Sequence& member = family[order[at]];
    while (std::abs(family[order[rivals_end]].skip) < std::abs(member.skip)) {
      ++rivals_end;
    }
    Domain domain{0, text_length};
    bool has_domain = true;
    for (std::size_t r = 0; r < rivals_end && has_domain; ++r) {
      const Sequence& rival = family[order[r]];
      if (rival.low < member.low) {
        domain.low = std::max(domain.low, rival.low);
      } else if (rival.high > member.high) {
        domain.high = std::min(domain.high, rival.high);
      } else {
        has_domain = false;
      }
    }
    if (has_domain) {
      domains[order[at]] = domain;
    }
  }
  return domains;
}

}  // namespace quorel
