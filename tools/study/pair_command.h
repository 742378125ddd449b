// quorel-study pair: how close two words come in the text, and how often control texts bring them
// as close.
#pragma once

#include <vector>

#include <CLI/CLI.hpp>

#include "tools/study/study_run.h"

namespace quorel {

void AddPairCommand(CLI::App& app, std::vector<StudyCommand>& commands);

}  // namespace quorel
