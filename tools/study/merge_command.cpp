#include "tools/study/merge_command.h"

#include <cerrno>
#include <cstring>
#include <memory>

namespace quorel {
namespace {

struct MergeArguments {
  std::vector<std::string> files;
  bool json = false;
  std::string output;
};

int RunMerge(const MergeArguments& arguments) {
  std::optional<StudyPartial> merged;
  for (const std::string& file : arguments.files) {
    std::string failure;
    std::optional<StudyPartial> part = ReadPartial(file, failure);
    if (!part) {
      throw StudyFailure{failure};
    }
    if (!merged) {
      merged = std::move(part);
    } else if (!MergePartial(*merged, *part, failure)) {
      throw StudyFailure{file + ": " + failure};
    }
  }
  const StudyReport* report = FindStudyReport(merged->study);
  if (report == nullptr) {
    throw StudyFailure{"this quorel-study has no \"" + merged->study + "\" study"};
  }
  if (!arguments.output.empty() && WritePartial(arguments.output, *merged) != kStudyDone) {
    return kStudyWriteFailed;
  }
  if (!WriteStdout((*report)(*merged, arguments.json) + "\n")) {
    std::fprintf(stderr, "quorel-study: could not write the result to stdout: %s\n",
                 std::strerror(errno));
    return kStudyWriteFailed;
  }
  if (!merged->controls.Complete()) {
    std::fprintf(stderr,
                 "quorel-study: the parts hold %lld of the study's %lld controls; the result "
                 "covers those only and is not a complete study\n",
                 static_cast<long long>(merged->controls.values.size()),
                 static_cast<long long>(merged->controls.total));
    return kStudyIncomplete;
  }
  return kStudyDone;
}

}  // namespace

void AddMergeCommand(CLI::App& app, std::vector<StudyCommand>& commands) {
  auto arguments = std::make_shared<MergeArguments>();
  CLI::App* command =
      app.add_subcommand("merge", "Add up the partial results of a study's shards into its result");
  command->add_option("PARTIAL", arguments->files, "Partial results written by --shard")
      ->required();
  command->add_flag("--json", arguments->json, "Write the result as one JSON object");
  command->add_option("-o,--output", arguments->output,
                      "Also write the merged partial result to this file");
  commands.push_back({command, [arguments] { return RunMerge(*arguments); }});
}

}  // namespace quorel
