// SPDX-License-Identifier: GPL-3.0-or-later
#include "tools/study/distance_output.h"

#include <cerrno>
#include <cstdio>
#include <cstring>

#include "text/letter_text.h"
#include "tools/study/study_run.h"

namespace quorel {

std::string FractionText(Fraction c) {
  return std::to_string(c.numerator) + "/" + std::to_string(c.denominator);
}

std::string UndefinedReason(const CorrectedDistance& c, std::int64_t min_triples) {
  if (!c.in_measure[kRealPerturbation]) {
    return "the real family of one of the words is empty";
  }
  return "only " + std::to_string(c.triples) + " triples have both families non-empty, fewer " +
         "than --min-triples " + std::to_string(min_triples);
}

void AddMinTriplesOption(CLI::App& command, std::int64_t& min_triples) {
  command
      .add_option("--min-triples", min_triples,
                  "Leave c undefined when fewer triples than this have both families non-empty")
      ->check(CLI::Range(std::int64_t{1}, std::int64_t{kPerturbationCount}))
      ->capture_default_str();
}

void AddDataOption(CLI::App& command, std::string& data) {
  data = kDataFileName;
  command.add_option("--data", data, "The data file")->capture_default_str();
}

void FinishOutput() {
  errno = 0;
  if (std::fflush(stdout) != 0 || std::ferror(stdout) != 0) {
    const int error = errno;
    throw StudyFailure{std::string("cannot write the output: ") +
                           (error != 0 ? std::strerror(error) : "write error"),
                       kStudyWriteFailed};
  }
}

}  // namespace quorel
