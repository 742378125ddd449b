// SPDX-License-Identifier: GPL-3.0-or-later
// The corrected-distance commands of quorel-study: `distance WORD1 WORD2` and `pairs LIST`.
#pragma once

#include <CLI/CLI.hpp>
#include <vector>

#include "tools/study/study_run.h"

namespace quorel {

// Adds the subcommands `distance` and `pairs` to `app` and how each runs to `commands`. A failure
// ends the command with StudyFailure.
void AddDistanceCommands(CLI::App& app, std::vector<StudyCommand>& commands);

}  // namespace quorel
