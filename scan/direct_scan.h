// SPDX-License-Identifier: GPL-3.0-or-later
// The direct scan: the find test at every start position, letter by letter. It is the reference
// that every faster scan must agree with, find for find.
#pragma once

#include <cstdint>
#include <string_view>
#include <vector>

namespace quorel {

// The find test: whether `target` is spelled out in `letters` from 1-based `start` at `skip`.
// Compares from the target's first letter and stops at the first difference.
bool IsFind(std::u16string_view letters, std::u16string_view target, std::int64_t start,
            std::int32_t skip);

// Appends to `finds`, in increasing order, every start position at `skip`. A negative skip reads
// backwards: the start is the word's first letter and the others lie below it.
void DirectScan(std::u16string_view letters, std::u16string_view target, std::int32_t skip,
                std::vector<std::int32_t>& finds);

}  // namespace quorel
