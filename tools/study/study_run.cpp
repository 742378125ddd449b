#include "tools/study/study_run.h"

#include <cerrno>
#include <charconv>
#include <cstdio>
#include <cstring>
#include <map>
#include <variant>

#include "search/target_word.h"
#include "study/control_runner.h"
#include "study/shard.h"
#include "text/hebrew_letters.h"
#include "text/letter_text.h"
#include "text/utf.h"
#include "text/verse_index.h"
#include "tools/study/interrupt.h"
#include "tools/study/progress_bar.h"

namespace quorel {
namespace {

std::map<std::string, StudyReport>& Reports() {
  static std::map<std::string, StudyReport> reports;
  return reports;
}

// FNV-1a over the letters' code units: parts made from different texts must not merge.
std::string TextDigest(std::u16string_view letters) {
  std::uint64_t hash = 0xCBF29CE484222325ULL;
  for (const char16_t c : letters) {
    for (const unsigned byte : {c & 0xFFU, (c >> 8) & 0xFFU}) {
      hash = (hash ^ byte) * 0x100000001B3ULL;
    }
  }
  char hex[17];
  std::snprintf(hex, sizeof hex, "%016llx", static_cast<unsigned long long>(hash));
  return hex;
}

Shard ShardOf(const StudyOptions& options) {
  if (options.shard.empty()) {
    return {1, 1};
  }
  std::string failure;
  const std::optional<Shard> shard = ParseShard(options.shard, failure);
  if (!shard) {
    throw StudyFailure{failure};
  }
  return *shard;
}

std::vector<std::int32_t> VerseStarts(const StudyOptions& options, std::int32_t file_length) {
  const std::filesystem::path index_file = VerseIndexPathFor(options.data);
  const VerseIndexLoad load = LoadVerseIndex(index_file, file_length);
  if (!load.failure.empty()) {
    throw StudyFailure{load.failure};
  }
  if (!load.index || load.index->Empty()) {
    throw StudyFailure{"--kind verses needs the verse index " + index_file.string() +
                       " beside the data file, and there is none (quorel-mkdsf writes it when "
                       "its input has verse references)"};
  }
  std::vector<std::int32_t> starts;
  for (const Verse& verse : load.index->Verses()) {
    starts.push_back(verse.first_position - 1);
  }
  return starts;
}

bool WriteAll(std::FILE* out, const std::string& text) {
  const bool written = std::fwrite(text.data(), 1, text.size(), out) == text.size();
  return std::fflush(out) == 0 && written && std::ferror(out) == 0;
}

bool WritePartialFile(const std::string& file, const std::string& text) {
  std::FILE* out = std::fopen(file.c_str(), "wb");
  if (out == nullptr) {
    return false;
  }
  const bool written = WriteAll(out, text);
  const int saved = errno;
  const bool closed = std::fclose(out) == 0;
  if (!written) {
    errno = saved;
  }
  return written && closed;
}

}  // namespace

void AddStudyOptions(CLI::App& command, StudyOptions& options) {
  command.add_option("--controls", options.controls, "Control texts to compare with (1000)")
      ->check(CLI::Range(std::int64_t{1}, kMaxControls));
  command.add_option("--seed", options.seed, "Seed of the control texts (1)");
  command.add_option("--kind", options.kind, "Shuffle the letters or whole verses (letters)")
      ->check(CLI::IsMember({"letters", "verses"}));
  command.add_flag("--fold-finals", options.fold_finals,
                   "Read the text's final forms as their regular letters");
  command.add_option("--shard", options.shard,
                     "Run part K of M of the controls and write its partial result");
  command.add_flag("--json", options.json, "Write the result as one JSON object");
  command.add_option("--threads", options.threads, "Threads to use (every core)")
      ->check(CLI::Range(1, 1024));
  command.add_option("--data", options.data, "The data file (Quorel.DSF)");
  command.add_option("-o,--output", options.output, "Write the partial result to this file");
}

StudyText LoadStudyText(const StudyOptions& options) {
  ShardOf(options);  // a bad --shard is a usage error, found before the text is read
  const LoadResult load = LoadLetterText(options.data);
  if (!load.text) {
    throw StudyFailure{load.failure};
  }
  if (load.text->FileLength() == 0) {
    throw StudyFailure{options.data + " holds no letters"};
  }
  StudyText text;
  text.letters = std::u16string(load.text->FileLetters());
  if (options.fold_finals) {
    text.letters = FoldFinals(text.letters);
  }
  text.source.letters = text.letters;
  text.source.kind = *ControlKindNamed(options.kind);
  if (text.source.kind == ControlKind::kVerses) {
    text.source.verse_starts = VerseStarts(options, load.text->FileLength());
  }
  text.setup = {{"kind", options.kind},
                {"seed", options.seed},
                {"controls", options.controls},
                {"fold_finals", options.fold_finals},
                {"text_letters", text.letters.size()},
                {"text_digest", TextDigest(text.letters)}};
  return text;
}

std::u16string PrepareStudyWord(const std::string& word) {
  const Preparation prepared = PrepareTargetText(Utf8ToUtf16(word));
  if (const auto* refusal = std::get_if<Refusal>(&prepared)) {
    throw StudyFailure{word + ": " + Utf16ToUtf8(refusal->message), kStudyRefused};
  }
  return std::get<std::u16string>(prepared);
}

std::int32_t ReadStudySkip(const std::string& name, const std::string& text, std::int64_t low,
                           std::int64_t high) {
  std::int64_t value = 0;
  const char* end = text.data() + text.size();
  const auto [stop, error] = std::from_chars(text.data(), end, value);
  if (text.empty() || error != std::errc() || stop != end || value < low || value > high) {
    throw StudyFailure{name + " must be a whole number from " + std::to_string(low) + " to " +
                       std::to_string(high) + ", not \"" + text + "\""};
  }
  return static_cast<std::int32_t>(value);
}

void RunStudyControls(const StudyOptions& options, const StudyText& text, const ControlTask& task,
                      StudyPartial& partial) {
  partial.shard = ShardOf(options);
  partial.range = ShardRange(partial.shard, options.controls);
  partial.controls.total = options.controls;
  ControlRunOptions run;
  run.workers = options.threads > 0 ? options.threads : DefaultWorkers();
  run.stop = &StudyInterrupted();
  ProgressBar bar(stderr, partial.range.Size());
  run.progress = [&bar](std::int64_t done) { bar.Show(done); };

  std::vector<std::u16string> scratch(static_cast<std::size_t>(run.workers));
  std::vector<ControlValue> values(static_cast<std::size_t>(partial.range.Size()));
  const std::vector<std::int64_t> done =
      RunControls(partial.range, run, [&](std::int64_t index, int worker) {
        std::u16string& control = scratch[static_cast<std::size_t>(worker)];
        MakeControlText(text.source, options.seed, static_cast<std::uint64_t>(index), control);
        values[static_cast<std::size_t>(index - partial.range.first)] = task(index, control);
      });
  bar.Clear();
  partial.controls.values.clear();
  for (const std::int64_t index : done) {
    partial.controls.values.push_back(
        {index, values[static_cast<std::size_t>(index - partial.range.first)]});
  }
}

void RegisterStudyReport(const std::string& study, StudyReport report) {
  Reports()[study] = std::move(report);
}

const StudyReport* FindStudyReport(const std::string& study) {
  const auto found = Reports().find(study);
  return found == Reports().end() ? nullptr : &found->second;
}

bool WriteStdout(const std::string& text) {
  return WriteAll(stdout, text);
}

int WritePartial(const std::string& file, const StudyPartial& partial) {
  const std::string text = PartialToJson(partial).dump() + "\n";
  if (!(file.empty() ? WriteStdout(text) : WritePartialFile(file, text))) {
    std::fprintf(stderr, "quorel-study: could not write the partial result to %s: %s\n",
                 file.empty() ? "stdout" : file.c_str(), std::strerror(errno));
    return kStudyWriteFailed;
  }
  return kStudyDone;
}

int FinishStudy(const StudyOptions& options, const StudyPartial& partial) {
  const auto done = static_cast<std::int64_t>(partial.controls.values.size());
  const bool stopped = done < partial.range.Size();
  if (stopped) {
    std::fprintf(stderr,
                 "quorel-study: stopped after %lld of %lld controls; what is written covers those "
                 "only and is not a complete study\n",
                 static_cast<long long>(done), static_cast<long long>(partial.range.Size()));
  }
  if (!options.shard.empty() || !options.output.empty()) {
    if (WritePartial(options.output, partial) != kStudyDone) {
      return kStudyWriteFailed;
    }
  }
  if (options.shard.empty()) {
    const StudyReport* report = FindStudyReport(partial.study);
    if (!WriteStdout((*report)(partial, options.json) + "\n")) {
      std::fprintf(stderr, "quorel-study: could not write the result to stdout: %s\n",
                   std::strerror(errno));
      return kStudyWriteFailed;
    }
  }
  return stopped ? kStudyInterrupted : kStudyDone;
}

nlohmann::json ReportJsonHead(const StudyPartial& partial) {
  return {{"study", partial.study},
          {"complete", partial.controls.Complete()},
          {"controls", partial.controls.total},
          {"controls_done", partial.controls.values.size()},
          {"setup", partial.setup}};
}

std::string IncompletePrefix(const StudyPartial& partial) {
  if (partial.controls.Complete()) {
    return {};
  }
  return "INCOMPLETE (" + std::to_string(partial.controls.values.size()) + " of " +
         std::to_string(partial.controls.total) + " controls done, figures over those only): ";
}

}  // namespace quorel
