// SPDX-License-Identifier: GPL-3.0-or-later
// The domain of minimality of each member of a family: the stretch of text around it that no
// member with a smaller |skip| reaches into.
#pragma once

#include <cstdint>
#include <optional>
#include <vector>

#include "study/perturbed_family.h"

namespace quorel {

// The open stretch (low, high) of text positions.
struct Domain {
  std::int64_t low = 0;
  std::int64_t high = 0;
};

// For each member e of `family` with plain extent [a, b], in the family's order: start from
// (0, text_length); each rival, a member with a smaller |skip|, with extent [a', b'] raises low
// to a' when a' < a, or else lowers high to b' when b' > b, or else lies inside e's extent and
// leaves e without a domain (nullopt).
std::vector<std::optional<Domain>> DomainsOfMinimality(const Family& family,
                                                       std::int64_t text_length);

}  // namespace quorel
