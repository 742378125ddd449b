// SPDX-License-Identifier: GPL-3.0-or-later
// `quorel-study pairs LIST`: c of every pair of a list, the statistics P1 and P2, and the
// permutation test of the pairing.
#pragma once

#include <CLI/CLI.hpp>
#include <vector>

#include "tools/study/study_run.h"

namespace quorel {

void AddPairsCommand(CLI::App& app, std::vector<StudyCommand>& commands);

}  // namespace quorel
