// quorel-study count: how many finds a word has in the text, and how often control texts have as
// many.
#pragma once

#include <vector>

#include <CLI/CLI.hpp>

#include "tools/study/study_run.h"

namespace quorel {

void AddCountCommand(CLI::App& app, std::vector<StudyCommand>& commands);

}  // namespace quorel
