#include "tools/study/count_command.h"

#include <memory>

#include "study/find_count.h"
#include "study/p_value.h"
#include "text/utf.h"
#include "tools/study/report_format.h"

namespace quorel {
namespace {

constexpr char kStudy[] = "count";

struct CountArguments {
  StudyOptions options;
  std::string word;
  std::string min;
  std::string max;
  bool both = false;
};

std::string CountReport(const StudyPartial& partial, bool json) {
  const nlohmann::json& setup = partial.setup;
  const auto real = partial.real.at("finds").get<std::int64_t>();
  const double expected = partial.real.at("expected").get<double>();
  const ControlSpread spread = SpreadOf(partial.controls);
  const PValue p = PValueOf(real, partial.controls, Extreme::kMore);
  if (json) {
    nlohmann::json report = ReportJsonHead(partial);
    report["finds"] = real;
    report["expected"] = expected;
    report["control_mean"] = spread.mean;
    report["control_sd"] = spread.standard_deviation;
    report["control_min"] = ValueJson(spread.min);
    report["control_max"] = ValueJson(spread.max);
    report["rank"] = p.rank;
    report["at_least_as_many"] = p.as_extreme;
    report["p"] = p.p;
    return report.dump();
  }
  return IncompletePrefix(partial) + setup.at("word").get<std::string>() + ", " +
         FormatSkips(setup.at("min"), setup.at("max"), setup.at("both")) + ": " +
         std::to_string(real) + " finds in the text, " + FormatFixed(expected) +
         " expected by chance; " + FormatControls(setup, spread.controls) + ": mean " +
         FormatFixed(spread.mean) + ", sd " + FormatFixed(spread.standard_deviation) + ", min " +
         FormatValue(spread.min) + ", max " + FormatValue(spread.max) + "; " +
         FormatPValue(p, "with at least as many");
}

int RunCount(const CountArguments& arguments) {
  const std::u16string word = PrepareStudyWord(arguments.word);
  StudyText text = LoadStudyText(arguments.options);
  const auto largest = static_cast<std::int64_t>(text.letters.size()) - 1;
  StudySkips skips;
  skips.min = ReadStudySkip("MIN", arguments.min, 1, std::max<std::int64_t>(largest, 1));
  skips.max = ReadStudySkip("MAX", arguments.max, skips.min, std::max<std::int64_t>(largest, 1));
  skips.both = arguments.both;

  StudyPartial partial;
  partial.study = kStudy;
  partial.setup = text.setup;
  partial.setup["word"] = Utf16ToUtf8(word);
  partial.setup["min"] = skips.min;
  partial.setup["max"] = skips.max;
  partial.setup["both"] = skips.both;
  partial.real = {{"finds", CountFinds(text.letters, word, skips)},
                  {"expected", ExpectedFinds(text.letters, word, skips)}};
  RunStudyControls(
      arguments.options, text,
      [&](std::int64_t, const std::u16string& control) -> ControlValue {
        return CountFinds(control, word, skips);
      },
      partial);
  return FinishStudy(arguments.options, partial);
}

}  // namespace

void AddCountCommand(CLI::App& app, std::vector<StudyCommand>& commands) {
  auto arguments = std::make_shared<CountArguments>();
  CLI::App* command = app.add_subcommand(
      "count", "How many finds WORD has at skips MIN to MAX, in the text and in control texts");
  command->add_option("WORD", arguments->word, "The word, in Hebrew letters")->required();
  command->add_option("MIN", arguments->min, "The smallest skip, 1 or more")->required();
  command->add_option("MAX", arguments->max, "The largest skip")->required();
  command->add_flag("--both", arguments->both, "Also read the word backwards (skips -MAX..-MIN)");
  AddStudyOptions(*command, arguments->options);
  RegisterStudyReport(kStudy, CountReport);
  commands.push_back({command, [arguments] { return RunCount(*arguments); }});
}

}  // namespace quorel
