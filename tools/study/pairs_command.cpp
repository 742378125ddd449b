// SPDX-License-Identifier: GPL-3.0-or-later
#include "tools/study/pairs_command.h"

#include <algorithm>
#include <cinttypes>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <map>
#include <memory>
#include <nlohmann/json.hpp>
#include <sstream>
#include <thread>

#include "study/distance_table.h"
#include "study/pair_permutations.h"
#include "study/shard.h"
#include "text/utf.h"
#include "tools/study/distance_output.h"
#include "tools/study/distance_text.h"
#include "tools/study/interrupt.h"
#include "tools/study/pair_list.h"
#include "tools/study/progress_bar.h"

namespace quorel {
namespace {

[[noreturn]] void Fail(int status, std::string message) {
  throw StudyFailure{std::move(message), status};
}

// Lists longer than this are refused before they are read: a list of pairs is small.
constexpr std::uintmax_t kLargestList = 16 * 1024 * 1024;

struct PairsOptions {
  std::string list;
  bool json = false;
  std::int64_t permutations = 0;
  std::uint64_t seed = 1;
  TieRule ties = TieRule::kAgainst;
  std::int64_t min_triples = 1;
  int threads = std::max(1, static_cast<int>(std::thread::hardware_concurrency()));
  std::string shard;
  std::vector<std::string> merge;
  std::string data;
};

// What c of one pair of forms needs, kept apart from its 125 Omegas so shards can carry it.
struct FormDistance {
  bool real_in_measure = false;
  std::int64_t at_least_real = 0;
  std::int64_t triples = 0;

  bool IsDefined(std::int64_t min_triples) const {
    return real_in_measure && triples >= min_triples;
  }
  Fraction C() const { return {at_least_real, triples}; }
};

// The words of the list, each distinct pair of forms once, and for each combination of lines
// (first words of line i with second words of line j) the pairs of forms it holds. Without a
// permutation test only the real combinations, i with i, are needed.
struct PairsPlan {
  std::vector<std::u16string> words;
  std::vector<std::pair<std::size_t, std::size_t>> form_pairs;
  std::vector<std::vector<std::size_t>> combinations;  // [i * lines + j]
  bool all_combinations = false;
};

PairsPlan PlanPairs(const std::vector<PairLine>& lines, bool all_combinations) {
  PairsPlan plan;
  plan.all_combinations = all_combinations;
  std::map<std::u16string, std::size_t> word_index;
  const auto index_of = [&](const std::u16string& word) {
    const auto [at, added] = word_index.emplace(word, plan.words.size());
    if (added) {
      plan.words.push_back(word);
    }
    return at->second;
  };
  std::map<std::pair<std::size_t, std::size_t>, std::size_t> pair_index;
  const std::size_t n = lines.size();
  plan.combinations.resize(n * n);
  for (std::size_t i = 0; i < n; ++i) {
    for (std::size_t j = 0; j < n; ++j) {
      if (!all_combinations && i != j) {
        continue;
      }
      for (const std::u16string& first : lines[i].first) {
        for (const std::u16string& second : lines[j].second) {
          const std::pair<std::size_t, std::size_t> key{index_of(first), index_of(second)};
          const auto [at, added] = pair_index.emplace(key, plan.form_pairs.size());
          if (added) {
            plan.form_pairs.push_back(key);
          }
          plan.combinations[i * n + j].push_back(at->second);
        }
      }
    }
  }
  return plan;
}

// FNV-1a over the list's words, the combinations wanted and the text, so a shard made from other
// inputs is refused by the merge.
std::string Fingerprint(const PairsPlan& plan, std::u16string_view letters) {
  std::uint64_t hash = 0xCBF29CE484222325ULL;
  const auto add = [&hash](std::uint64_t value) {
    hash ^= value;
    hash *= 0x100000001B3ULL;
  };
  for (const char16_t c : letters) {
    add(c);
  }
  add(plan.all_combinations ? 1 : 2);
  for (const auto& [first, second] : plan.form_pairs) {
    for (const std::size_t word : {first, second}) {
      for (const char16_t c : plan.words[word]) {
        add(c);
      }
      add(0x10000);
    }
  }
  char text[17];
  std::snprintf(text, sizeof text, "%016" PRIx64, hash);
  return text;
}

std::string ReadList(const std::string& path) {
  std::error_code error;
  if (!std::filesystem::is_regular_file(path, error)) {
    Fail(kStudyUsage, "cannot read the list " + path + ": not a regular file");
  }
  if (std::filesystem::file_size(path, error) > kLargestList) {
    Fail(kStudyUsage, "the list " + path + " is larger than 16 MiB; a list of pairs is small");
  }
  std::ifstream in(path, std::ios::binary);
  std::ostringstream text;
  text << in.rdbuf();
  if (!in && !in.eof()) {
    Fail(kStudyUsage, "cannot read the list " + path);
  }
  return text.str();
}

Shard ParsePairsShard(const std::string& text) {
  std::string failure;
  const std::optional<Shard> shard = ParseShard(text, failure);
  if (!shard) {
    throw StudyFailure{"--shard: " + failure, kStudyRefused};
  }
  return *shard;
}

// c of the pairs of forms with index = K - 1 mod M, on the option's threads, with progress and
// Ctrl-C; the other pairs stay undefined.
std::vector<FormDistance> ComputeFormDistances(const PairsOptions& options,
                                               const DistanceText& text, const PairsPlan& plan,
                                               Shard shard) {
  DistanceTableJob job;
  job.letters = text.letters;
  job.counts = &text.counts;
  job.words = plan.words;
  std::vector<std::size_t> chosen;
  for (std::size_t i = 0; i < plan.form_pairs.size(); ++i) {
    if (static_cast<std::int64_t>(i) % shard.parts == shard.part - 1) {
      chosen.push_back(i);
      job.pairs.push_back(plan.form_pairs[i]);
    }
  }
  std::atomic<std::int64_t> done{0};
  const std::int64_t total = DistanceTableWork(job);
  std::vector<CorrectedDistance> distances;
  ProgressBar progress(stderr, total);
  std::thread worker(
      [&] { distances = ComputeDistanceTable(job, options.threads, StudyInterrupted(), done); });
  // Looks often, so a short study does not wait, and shows the count every tenth look.
  for (int look = 0; done.load() < total && !StudyInterrupted().load(); ++look) {
    if (look % 10 == 0) {
      progress.Show(done.load());
    }
    std::this_thread::sleep_for(std::chrono::milliseconds(10));
  }
  worker.join();
  progress.Clear();
  if (StudyInterrupted().load()) {
    Fail(kStudyInterrupted, "interrupted after " + std::to_string(done.load()) + " of " +
                                std::to_string(total) +
                                " words and pairs; no distance or statistic was reported");
  }
  std::vector<FormDistance> result(plan.form_pairs.size());
  for (std::size_t c = 0; c < chosen.size(); ++c) {
    const CorrectedDistance& d = distances[c];
    result[chosen[c]] = {d.in_measure[kRealPerturbation], d.at_least_real, d.triples};
  }
  return result;
}

void WriteShard(const PairsPlan& plan, const std::string& fingerprint, Shard shard,
                const std::vector<FormDistance>& distances) {
  nlohmann::json rows = nlohmann::json::array();
  for (std::size_t i = 0; i < plan.form_pairs.size(); ++i) {
    if (static_cast<std::int64_t>(i) % shard.parts == shard.part - 1) {
      rows.push_back(
          {i, distances[i].real_in_measure, distances[i].at_least_real, distances[i].triples});
    }
  }
  const nlohmann::json out = {{"quorel_study", "distance shard"},
                              {"fingerprint", fingerprint},
                              {"shard", shard.part},
                              {"shards", shard.parts},
                              {"form_pairs", plan.form_pairs.size()},
                              {"distances", rows}};
  std::printf("%s\n", out.dump().c_str());
}

// Fills the distances from shard files written by `pairs --shard K/M` for the same list, text and
// permutation choice; every shard 1..M exactly once.
std::vector<FormDistance> MergeShards(const std::vector<std::string>& files, const PairsPlan& plan,
                                      const std::string& fingerprint) {
  std::vector<FormDistance> result(plan.form_pairs.size());
  std::vector<bool> seen_shard;
  std::int64_t shards = 0;
  for (const std::string& file : files) {
    nlohmann::json shard;
    try {
      std::ifstream in(file, std::ios::binary);
      if (!in) {
        Fail(kStudyUsage, "cannot read the shard " + file);
      }
      shard = nlohmann::json::parse(in);
      if (shard.at("quorel_study") != "distance shard") {
        Fail(kStudyRefused, file + " is not a shard of quorel-study pairs");
      }
      if (shard.at("fingerprint") != fingerprint) {
        Fail(kStudyRefused, file +
                                " was made from another list, text or choice of permutations "
                                "(--permutations 0 or not)");
      }
      const auto k = shard.at("shard").get<std::int64_t>();
      const auto m = shard.at("shards").get<std::int64_t>();
      if (shards == 0) {
        shards = m;
        seen_shard.assign(static_cast<std::size_t>(m), false);
      }
      if (m != shards || k < 1 || k > m || seen_shard[static_cast<std::size_t>(k - 1)]) {
        Fail(kStudyRefused, file + ": shard " + std::to_string(k) + "/" + std::to_string(m) +
                                " does not fit the other shards or is given twice");
      }
      seen_shard[static_cast<std::size_t>(k - 1)] = true;
      for (const nlohmann::json& row : shard.at("distances")) {
        const auto i = row.at(0).get<std::size_t>();
        if (i >= result.size() || static_cast<std::int64_t>(i) % m != k - 1) {
          Fail(kStudyRefused, file + " holds a pair that is not in its shard");
        }
        result[i] = {row.at(1).get<bool>(), row.at(2).get<std::int64_t>(),
                     row.at(3).get<std::int64_t>()};
      }
    } catch (const nlohmann::json::exception& error) {
      Fail(kStudyRefused, file + " is not a readable shard: " + error.what());
    }
  }
  for (std::size_t k = 0; k < seen_shard.size(); ++k) {
    if (!seen_shard[k]) {
      Fail(kStudyIncomplete, "shard " + std::to_string(k + 1) + "/" + std::to_string(shards) +
                                 " is missing; the statistics need every pair");
    }
  }
  return result;
}

std::vector<CombinationSummary> Summaries(const PairsPlan& plan,
                                          const std::vector<FormDistance>& distances,
                                          std::int64_t min_triples) {
  std::vector<CombinationSummary> cells(plan.combinations.size());
  for (std::size_t cell = 0; cell < cells.size(); ++cell) {
    for (const std::size_t pair : plan.combinations[cell]) {
      const FormDistance& d = distances[pair];
      if (d.IsDefined(min_triples)) {
        ++cells[cell].defined;
        cells[cell].small += AtMostOneFifth(d.C()) ? 1 : 0;
        cells[cell].log_product +=
            std::log(static_cast<double>(d.at_least_real) / static_cast<double>(d.triples));
      }
    }
  }
  return cells;
}

struct PairsReport {
  PairListStatistics real;
  bool permuted = false;
  PermutationRanks ranks;
};

std::string CText(const FormDistance& d, std::int64_t min_triples) {
  if (d.IsDefined(min_triples)) {
    return FractionText(d.C());
  }
  return d.real_in_measure ? "undefined (M too small)" : "undefined (a real family is empty)";
}

// A word in UTF-8 with blanks after it to 16 letters: columns count letters, not bytes.
std::string Padded(std::u16string_view word) {
  std::string text = Utf16ToUtf8(word);
  if (word.size() < 16) {
    text.append(16 - word.size(), ' ');
  }
  return text;
}

const char* TieText(TieRule ties) {
  return ties == TieRule::kAgainst ? "against" : "for";
}

void PrintReport(const PairsOptions& options, const DistanceText& text,
                 const std::vector<PairLine>& lines, const PairsPlan& plan,
                 const std::vector<FormDistance>& distances, const PairsReport& report) {
  const std::size_t n = lines.size();
  std::printf("Text: %zu letters; %zu lines of pairs\n", text.letters.size(), n);
  std::printf("%6s  %s %s %s\n", "line", Padded(u"first").c_str(), Padded(u"second").c_str(), "c");
  for (std::size_t i = 0; i < n; ++i) {
    for (const std::size_t pair : plan.combinations[i * n + i]) {
      const auto& [first, second] = plan.form_pairs[pair];
      std::printf("%6d  %s %s %s\n", lines[i].line_number, Padded(plan.words[first]).c_str(),
                  Padded(plan.words[second]).c_str(),
                  CText(distances[pair], options.min_triples).c_str());
    }
  }
  const PairListStatistics& s = report.real;
  std::printf("N = %lld pairs with c defined, k = %lld of them with c <= 1/5\n",
              static_cast<long long>(s.n), static_cast<long long>(s.k));
  std::printf("P1 = %.6g (binomial tail: k or more of N, each below 1/5 with chance 1/5)\n", s.p1);
  std::printf("P2 = %.6g (F_N of the product of the N values of c)\n", s.p2);
  if (!report.permuted) {
    return;
  }
  const std::int64_t values = report.ranks.permutations + 1;
  const bool complete = report.ranks.permutations == options.permutations;
  std::printf(
      "Permutations: %lld random re-pairings from seed %llu, ties counted %s the real "
      "pairing%s\n",
      static_cast<long long>(report.ranks.permutations),
      static_cast<unsigned long long>(options.seed), TieText(options.ties),
      complete ? "" : " -- INTERRUPTED, fewer than asked for");
  std::printf("P1 rank: %lld of %lld (%.6g)\n", static_cast<long long>(report.ranks.p1_rank),
              static_cast<long long>(values),
              static_cast<double>(report.ranks.p1_rank) / static_cast<double>(values));
  std::printf("P2 rank: %lld of %lld (%.6g)\n", static_cast<long long>(report.ranks.p2_rank),
              static_cast<long long>(values),
              static_cast<double>(report.ranks.p2_rank) / static_cast<double>(values));
}

void PrintReportJson(const PairsOptions& options, const DistanceText& text,
                     const std::vector<PairLine>& lines, const PairsPlan& plan,
                     const std::vector<FormDistance>& distances, const PairsReport& report) {
  const std::size_t n = lines.size();
  nlohmann::json pairs = nlohmann::json::array();
  for (std::size_t i = 0; i < n; ++i) {
    for (const std::size_t pair : plan.combinations[i * n + i]) {
      const auto& [first, second] = plan.form_pairs[pair];
      const FormDistance& d = distances[pair];
      pairs.push_back({{"line", lines[i].line_number},
                       {"first", Utf16ToUtf8(plan.words[first])},
                       {"second", Utf16ToUtf8(plan.words[second])},
                       {"c", d.IsDefined(options.min_triples) ? nlohmann::json(FractionText(d.C()))
                                                              : nlohmann::json(nullptr)},
                       {"triples_in_M", d.triples}});
    }
  }
  nlohmann::json out = {{"letters", text.letters.size()},
                        {"min_triples", options.min_triples},
                        {"pairs", pairs},
                        {"N", report.real.n},
                        {"k", report.real.k},
                        {"P1", report.real.p1},
                        {"P2", report.real.p2}};
  if (report.permuted) {
    out["permutations"] = {{"asked", options.permutations},
                           {"done", report.ranks.permutations},
                           {"complete", report.ranks.permutations == options.permutations},
                           {"seed", options.seed},
                           {"ties", TieText(options.ties)},
                           {"P1_rank", report.ranks.p1_rank},
                           {"P2_rank", report.ranks.p2_rank},
                           {"out_of", report.ranks.permutations + 1}};
  }
  std::printf("%s\n", out.dump(2).c_str());
}

int RunPairs(const PairsOptions& options) {
  if (!options.shard.empty() && !options.merge.empty()) {
    Fail(kStudyRefused, "--shard computes one part and --merge joins the parts; not both");
  }
  const Shard shard = options.shard.empty() ? Shard{} : ParsePairsShard(options.shard);
  std::string failure;
  const std::optional<std::vector<PairLine>> lines = ParsePairList(ReadList(options.list), failure);
  if (!lines) {
    Fail(kStudyRefused, options.list + ", " + failure);
  }
  const DistanceText text = LoadDistanceText(options.data);
  const PairsPlan plan = PlanPairs(*lines, options.permutations > 0);
  const std::string fingerprint = Fingerprint(plan, text.letters);
  std::vector<FormDistance> distances;
  if (options.merge.empty()) {
    distances = ComputeFormDistances(options, text, plan, shard);
  } else {
    distances = MergeShards(options.merge, plan, fingerprint);
  }
  if (!options.shard.empty()) {
    WriteShard(plan, fingerprint, shard, distances);
    FinishOutput();
    return kStudyDone;
  }
  const PermutationTest test(Summaries(plan, distances, options.min_triples),
                             static_cast<std::int64_t>(lines->size()));
  PairsReport report;
  report.real = test.Real();
  if (options.permutations > 0) {
    report.permuted = true;
    ProgressBar progress(stderr, options.permutations);
    report.ranks =
        test.Run(options.permutations, options.seed, options.ties, [&](std::int64_t done) {
          progress.Show(done);
          return !StudyInterrupted().load();
        });
    progress.Clear();
  }
  if (options.json) {
    PrintReportJson(options, text, *lines, plan, distances, report);
  } else {
    PrintReport(options, text, *lines, plan, distances, report);
  }
  FinishOutput();
  if (report.permuted && report.ranks.permutations < options.permutations) {
    Fail(kStudyInterrupted, "interrupted after " + std::to_string(report.ranks.permutations) +
                                " of " + std::to_string(options.permutations) +
                                " re-pairings; the ranks above are of those only");
  }
  return kStudyDone;
}

}  // namespace

void AddPairsCommand(CLI::App& app, std::vector<StudyCommand>& commands) {
  auto options = std::make_shared<PairsOptions>();
  CLI::App* pairs = app.add_subcommand(
      "pairs", "c of every pair of a list, P1, P2 and the permutation test of the pairing");
  pairs->add_option("LIST", options->list, "The list: one pair a line, forms apart by /")
      ->required();
  pairs->add_flag("--json", options->json, "Write one JSON object");
  pairs
      ->add_option("--permutations", options->permutations,
                   "Rank the real P1 and P2 among this many random re-pairings")
      ->check(CLI::Range(std::int64_t{0}, std::int64_t{1} << 40));
  pairs->add_option("--seed", options->seed, "Seed of the re-pairings (SplitMix64)")
      ->capture_default_str();
  pairs
      ->add_option_function<std::string>(
          "--ties",
          [options](const std::string& rule) {
            options->ties = rule == "for" ? TieRule::kFor : TieRule::kAgainst;
          },
          "A re-pairing whose P equals the real one counts 'against' the real pairing "
          "(raises its rank) or 'for' it")
      ->check(CLI::IsMember({"against", "for"}))
      ->default_str("against");
  AddMinTriplesOption(*pairs, options->min_triples);
  pairs->add_option("--threads", options->threads, "Threads that compute the distances")
      ->check(CLI::Range(1, 256));
  pairs->add_option("--shard", options->shard,
                    "Compute only part K of M of the distances and write it as JSON for --merge");
  pairs
      ->add_option("--merge", options->merge,
                   "Read the distances from the shard files of every part instead of computing")
      ->expected(1, -1);
  AddDataOption(*pairs, options->data);
  commands.push_back({pairs, [options] { return RunPairs(*options); }});
}

}  // namespace quorel
