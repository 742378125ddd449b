// SPDX-License-Identifier: GPL-3.0-or-later
// Shared pieces of the distance commands' output: a fraction as text, why c is undefined, the
// option that sets a minimum number of triples, and the end of a command's output.
#pragma once

#include <CLI/CLI.hpp>
#include <cstdint>
#include <string>

#include "study/corrected_distance.h"
#include "study/pair_statistics.h"

namespace quorel {

// "2/125": the fraction as counted, not reduced, so the size of M stays visible.
std::string FractionText(Fraction c);

// Why c(w, w') is not defined under `min_triples`.
std::string UndefinedReason(const CorrectedDistance& c, std::int64_t min_triples);

// --min-triples N: c is defined only when M has at least N triples; 1 by default (no minimum
// beyond a non-empty real triple).
void AddMinTriplesOption(CLI::App& command, std::int64_t& min_triples);

// --data FILE: the data file, Quorel.DSF of the current folder by default.
void AddDataOption(CLI::App& command, std::string& data);

// Flushes stdout; a write that failed (a full disk, a closed pipe) throws StudyFailure with
// kStudyWriteFailed instead of passing for success.
void FinishOutput();

}  // namespace quorel
