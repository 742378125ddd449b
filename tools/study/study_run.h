// What every study of quorel-study shares: the options, the loading of the text, the run of the
// controls on every core with progress and Ctrl-C, the partial result of a shard, and the report.
// A new kind of study adds its subcommand with these (see count_command.cpp) and registers how
// its result reads, so that `merge` can report it too.
#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include <CLI/CLI.hpp>
#include <nlohmann/json.hpp>

#include "study/control_text.h"
#include "study/study_result.h"
#include "tools/study/partial_file.h"

namespace quorel {

// Exit statuses.
inline constexpr int kStudyDone = 0;
inline constexpr int kStudyRefused = 1;      // a word that cannot be searched
inline constexpr int kStudyUsage = 2;        // bad options, or the data file could not be read
inline constexpr int kStudyWriteFailed = 3;  // stdout or the partial file could not be written
inline constexpr int kStudyIncomplete = 4;   // merged parts that lack controls
inline constexpr int kStudyInterrupted = 130;

// Ends the subcommand with a message (one sentence, without the program's name) and a status.
struct StudyFailure {
  std::string message;
  int status = kStudyUsage;
};

// A subcommand and what runs it when it is the one given.
struct StudyCommand {
  CLI::App* app = nullptr;
  std::function<int()> run;
};

// The most controls one study may ask for: each control's value is kept until the report.
inline constexpr std::int64_t kMaxControls = 10'000'000;

struct StudyOptions {
  std::int64_t controls = 1000;
  std::uint64_t seed = 1;
  std::string kind = "letters";
  bool fold_finals = false;
  std::string shard;  // "K/M", or empty for the whole study
  bool json = false;
  int threads = 0;  // 0: every core
  std::string data = "Quorel.DSF";
  std::string output;  // where the partial result goes; empty: stdout for a shard, none else
};

// --controls, --seed, --kind, --fold-finals, --shard, --json, --threads, --data, --output.
void AddStudyOptions(CLI::App& command, StudyOptions& options);

// The real text of a study and what its control texts are made from.
struct StudyText {
  std::u16string letters;  // the data file's letters, final forms folded if asked
  ControlSource source;    // views `letters`
  nlohmann::json setup;    // the options and the text's size and digest, for the partial
};

// Loads the data file (and its verse index for verse shuffles); throws StudyFailure.
StudyText LoadStudyText(const StudyOptions& options);

// A word as the window prepares it (outer blanks dropped, final forms made regular), with final
// forms folded; throws StudyFailure (kStudyRefused) with the window's message.
std::u16string PrepareStudyWord(const std::string& word);

// A skip given on the command line: a whole number from `low` to `high`; throws StudyFailure.
std::int32_t ReadStudySkip(const std::string& name, const std::string& text, std::int64_t low,
                           std::int64_t high);

// Makes control text `index` in a worker's scratch string and gives what the study measures on it.
using ControlTask =
    std::function<ControlValue(std::int64_t index, const std::u16string& control_text)>;

// Runs the controls of the options' shard (all of them without --shard) on every core, with the
// progress bar on a terminal, until done or Ctrl-C. Fills partial.shard, .range and .controls;
// the caller gives study, setup and real.
void RunStudyControls(const StudyOptions& options, const StudyText& text, const ControlTask& task,
                      StudyPartial& partial);

// How a study's result reads: one line for people, or one JSON object. Registered by each kind
// of study under its name.
using StudyReport = std::function<std::string(const StudyPartial&, bool json)>;
void RegisterStudyReport(const std::string& study, StudyReport report);
const StudyReport* FindStudyReport(const std::string& study);

// Writes the partial (for --shard or --output) and the report (unless a shard goes to stdout),
// says on stderr when the study is not complete, and gives the exit status.
int FinishStudy(const StudyOptions& options, const StudyPartial& partial);

// Writes the partial result to `file`, or to stdout when `file` is empty; on failure says so on
// stderr and gives kStudyWriteFailed, else kStudyDone.
int WritePartial(const std::string& file, const StudyPartial& partial);

// Writes `text` to stdout; false if it could not be written in full.
bool WriteStdout(const std::string& text);

// The common fields of every report's JSON: study, complete, controls, controls_done, setup.
nlohmann::json ReportJsonHead(const StudyPartial& partial);
// A line's opening words when the controls are not all done: "INCOMPLETE (412 of 1000 controls
// done): ", else nothing.
std::string IncompletePrefix(const StudyPartial& partial);

}  // namespace quorel
