// SPDX-License-Identifier: GPL-3.0-or-later
#include "tools/study/distance_command.h"

#include <algorithm>
#include <cstdio>
#include <memory>
#include <nlohmann/json.hpp>
#include <string>
#include <vector>

#include "study/corrected_distance.h"
#include "text/utf.h"
#include "tools/study/distance_output.h"
#include "tools/study/distance_text.h"
#include "tools/study/pairs_command.h"

namespace quorel {
namespace {

struct DistanceOptions {
  std::string first;
  std::string second;
  bool json = false;
  std::vector<int> family;  // a triple whose members to list, or empty
  std::int64_t min_triples = 1;
  std::string data;
};

Perturbation ListedTriple(const std::vector<int>& family) {
  return {family[0], family[1], family[2]};
}

nlohmann::json MembersJson(const WordFamilies& word, int triple, std::int64_t length) {
  const Family& family = word.families[static_cast<std::size_t>(triple)];
  const std::vector<std::optional<Domain>> domains = DomainsOfMinimality(family, length);
  nlohmann::json members = nlohmann::json::array();
  for (std::size_t i = 0; i < family.size(); ++i) {
    nlohmann::json member = {{"start", family[i].start}, {"skip", family[i].skip}};
    if (domains[i]) {
      member["domain"] = {domains[i]->low, domains[i]->high};
    } else {
      member["domain"] = nullptr;
    }
    members.push_back(member);
  }
  return members;
}

void PrintMembers(const WordFamilies& word, int triple, std::int64_t length) {
  const Perturbation t = PerturbationAt(triple);
  std::printf("Family (%d, %d, %d) of %s, positions from 0:\n", t.x, t.y, t.z,
              Utf16ToUtf8(word.word).c_str());
  std::printf("%10s %8s %10s %10s\n", "start", "skip", "lo", "hi");
  const Family& family = word.families[static_cast<std::size_t>(triple)];
  const std::vector<std::optional<Domain>> domains = DomainsOfMinimality(family, length);
  for (std::size_t i = 0; i < family.size(); ++i) {
    if (domains[i]) {
      std::printf("%10lld %8d %10lld %10lld\n", static_cast<long long>(family[i].start),
                  family[i].skip, static_cast<long long>(domains[i]->low),
                  static_cast<long long>(domains[i]->high));
    } else {
      std::printf("%10lld %8d  no domain\n", static_cast<long long>(family[i].start),
                  family[i].skip);
    }
  }
}

void PrintWordLine(const WordFamilies& word, const LetterCounts& counts) {
  const Family& real = word.families[kRealPerturbation];
  std::printf("%s: D = %d (E(D) = %.4f), %zu sequences in the real family, %zu with a domain\n",
              Utf16ToUtf8(word.word).c_str(), word.largest_skip,
              ExpectedSequences(counts, word.word, word.largest_skip), real.size(),
              word.with_domain[kRealPerturbation].size());
}

void PrintDistance(const DistanceOptions& options, const DistanceText& text,
                   const WordFamilies& first, const WordFamilies& second,
                   const CorrectedDistance& c) {
  std::printf("Text: %zu letters\n", text.letters.size());
  PrintWordLine(first, text.counts);
  PrintWordLine(second, text.counts);
  std::printf("Triples with both families non-empty (M): %lld of %d\n",
              static_cast<long long>(c.triples), kPerturbationCount);
  std::printf("Omega of the real triple: %.6f\n", c.omega[kRealPerturbation]);
  if (c.IsDefined(options.min_triples)) {
    std::printf("Triples of M with Omega at least the real one's: %lld\n",
                static_cast<long long>(c.at_least_real));
    std::printf("c = %s\n", FractionText({c.at_least_real, c.triples}).c_str());
  } else {
    std::printf("c undefined: %s\n", UndefinedReason(c, options.min_triples).c_str());
  }
  if (!options.family.empty()) {
    const int triple = PerturbationIndex(ListedTriple(options.family));
    const auto length = static_cast<std::int64_t>(text.letters.size());
    PrintMembers(first, triple, length);
    PrintMembers(second, triple, length);
  }
}

nlohmann::json WordJson(const WordFamilies& word, const LetterCounts& counts) {
  return {{"word", Utf16ToUtf8(word.word)},
          {"largest_skip", word.largest_skip},
          {"expected_at_largest_skip", ExpectedSequences(counts, word.word, word.largest_skip)}};
}

void PrintDistanceJson(const DistanceOptions& options, const DistanceText& text,
                       const WordFamilies& first, const WordFamilies& second,
                       const CorrectedDistance& c) {
  nlohmann::json triples = nlohmann::json::array();
  for (int t = 0; t < kPerturbationCount; ++t) {
    const Perturbation p = PerturbationAt(t);
    const auto at = static_cast<std::size_t>(t);
    triples.push_back(
        {{"triple", {p.x, p.y, p.z}},
         {"family_sizes", {first.families[at].size(), second.families[at].size()}},
         {"with_domain", {first.with_domain[at].size(), second.with_domain[at].size()}},
         {"in_M", c.in_measure[at]},
         {"omega", c.omega[at]}});
  }
  nlohmann::json out = {{"letters", text.letters.size()},
                        {"positions_from", 0},
                        {"words", {WordJson(first, text.counts), WordJson(second, text.counts)}},
                        {"triples", triples},
                        {"triples_in_M", c.triples},
                        {"real_omega", c.omega[kRealPerturbation]},
                        {"min_triples", options.min_triples}};
  if (c.IsDefined(options.min_triples)) {
    out["at_least_real"] = c.at_least_real;
    out["c"] = FractionText({c.at_least_real, c.triples});
  } else {
    out["c"] = nullptr;
    out["undefined_because"] = UndefinedReason(c, options.min_triples);
  }
  if (!options.family.empty()) {
    const int triple = PerturbationIndex(ListedTriple(options.family));
    const auto length = static_cast<std::int64_t>(text.letters.size());
    out["family"] = {
        {"triple", options.family},
        {"members", {MembersJson(first, triple, length), MembersJson(second, triple, length)}}};
  }
  std::printf("%s\n", out.dump(2).c_str());
}

int RunDistance(const DistanceOptions& options) {
  const std::u16string first_word = DistanceWord(options.first);
  const std::u16string second_word = DistanceWord(options.second);
  if (!options.family.empty() &&
      (options.family.size() != 3 || std::any_of(options.family.begin(), options.family.end(),
                                                 [](int v) { return v < -2 || v > 2; }))) {
    throw StudyFailure{"--family takes three numbers from -2 to 2, such as -2,-2,-2",
                       kStudyRefused};
  }
  const DistanceText text = LoadDistanceText(options.data);
  const WordFamilies first = FamiliesOfWord(text.letters, text.counts, first_word);
  const WordFamilies second = FamiliesOfWord(text.letters, text.counts, second_word);
  const CorrectedDistance c = CorrectedDistanceOf(first, second);
  if (options.json) {
    PrintDistanceJson(options, text, first, second, c);
  } else {
    PrintDistance(options, text, first, second, c);
  }
  FinishOutput();
  return kStudyDone;
}

}  // namespace

void AddDistanceCommands(CLI::App& app, std::vector<StudyCommand>& commands) {
  auto options = std::make_shared<DistanceOptions>();
  CLI::App* distance = app.add_subcommand(
      "distance", "The corrected distance c of two words in Quorel.DSF of the current folder");
  distance->add_option("WORD1", options->first, "The first word")->required();
  distance->add_option("WORD2", options->second, "The second word")->required();
  distance->add_flag("--json", options->json,
                     "Write one JSON object: every triple's Omega and family sizes");
  distance
      ->add_option("--family", options->family,
                   "List the members of this triple's families with their domains, e.g. -2,-2,-2")
      ->delimiter(',')
      ->allow_extra_args(false);
  AddMinTriplesOption(*distance, options->min_triples);
  AddDataOption(*distance, options->data);
  commands.push_back({distance, [options] { return RunDistance(*options); }});
  AddPairsCommand(app, commands);
}

}  // namespace quorel
