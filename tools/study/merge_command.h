// quorel-study merge: adds the partial results of a study's shards into the result one run gives.
#pragma once

#include <vector>

#include <CLI/CLI.hpp>

#include "tools/study/study_run.h"

namespace quorel {

void AddMergeCommand(CLI::App& app, std::vector<StudyCommand>& commands);

}  // namespace quorel
