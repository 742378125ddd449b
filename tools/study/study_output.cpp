#include "study_output.h"

#include <cerrno>
#include <cstdio>
#include <cstring>

#include "study_text.h"

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

void FailWith(int status, std::string_view message) {
  std::fflush(stdout);
  std::fprintf(stderr, "quorel-study: %.*s\n", static_cast<int>(message.size()), message.data());
  throw CLI::RuntimeError(status);
}

void FinishOutput() {
  errno = 0;
  if (std::fflush(stdout) != 0 || std::ferror(stdout) != 0) {
    const int error = errno;
    std::fprintf(stderr, "quorel-study: cannot write the output: %s\n",
                 error != 0 ? std::strerror(error) : "write error");
    throw CLI::RuntimeError(kExitRefused);
  }
}

}  // namespace quorel
