#include "tools/study/pair_command.h"

#include <memory>

#include "study/p_value.h"
#include "study/word_finds.h"
#include "study/word_proximity.h"
#include "text/utf.h"
#include "tools/study/report_format.h"

namespace quorel {
namespace {

constexpr char kStudy[] = "pair";

struct PairArguments {
  StudyOptions options;
  std::string first;
  std::string second;
  std::string min;
  std::string max;
};

// Both words' finds in `letters`, and their proximity.
std::optional<ClosestPair> ProximityIn(std::u16string_view letters, std::u16string_view first,
                                       std::u16string_view second, StudySkips skips) {
  WordFinds one{static_cast<std::int32_t>(first.size()), {}};
  WordFinds two{static_cast<std::int32_t>(second.size()), {}};
  CollectFinds(letters, first, skips, one.finds);
  if (one.finds.empty()) {
    return std::nullopt;
  }
  CollectFinds(letters, second, skips, two.finds);
  return WordProximity(one, two);
}

nlohmann::json FindJson(SkipFind find) {
  return {{"start", find.start}, {"skip", find.skip}};
}

nlohmann::json RealJson(const std::optional<ClosestPair>& closest) {
  if (!closest) {
    return {{"proximity", nullptr}, {"closest", nullptr}};
  }
  return {{"proximity", closest->matrix.Area()},
          {"closest",
           {{"first", FindJson(closest->first)},
            {"second", FindJson(closest->second)},
            {"width", closest->matrix.width},
            {"rows", closest->matrix.rows},
            {"columns", closest->matrix.columns}}}};
}

std::string FindText(const nlohmann::json& find) {
  return "at " + std::to_string(find.at("start").get<std::int64_t>()) + " skip " +
         std::to_string(find.at("skip").get<std::int64_t>());
}

std::string RealText(const nlohmann::json& setup, const nlohmann::json& real) {
  if (real.at("proximity").is_null()) {
    return "no pair in the text (a word without a find)";
  }
  const nlohmann::json& closest = real.at("closest");
  return "proximity " + std::to_string(real.at("proximity").get<std::int64_t>()) +
         " in the text (" + setup.at("first").get<std::string>() + " " +
         FindText(closest.at("first")) + " and " + setup.at("second").get<std::string>() + " " +
         FindText(closest.at("second")) + " in rows of " +
         std::to_string(closest.at("width").get<std::int64_t>()) + ": " +
         std::to_string(closest.at("rows").get<std::int64_t>()) + " rows x " +
         std::to_string(closest.at("columns").get<std::int64_t>()) + " columns)";
}

std::string PairReport(const StudyPartial& partial, bool json) {
  const nlohmann::json& setup = partial.setup;
  const nlohmann::json& real_json = partial.real.at("proximity");
  const ControlValue real =
      real_json.is_null() ? ControlValue() : ControlValue(real_json.get<std::int64_t>());
  const ControlSpread spread = SpreadOf(partial.controls);
  const PValue p = PValueOf(real, partial.controls, Extreme::kLess);
  if (json) {
    nlohmann::json report = ReportJsonHead(partial);
    report["proximity"] = ValueJson(real);
    report["closest"] = partial.real.at("closest");
    report["control_min"] = ValueJson(spread.min);
    report["control_median"] = ValueJson(spread.median);
    report["control_max"] = ValueJson(spread.max);
    report["controls_without_pair"] = spread.controls - spread.with_value;
    report["rank"] = p.rank;
    report["at_most_as_small"] = p.as_extreme;
    report["p"] = p.p;
    return report.dump();
  }
  return IncompletePrefix(partial) + setup.at("first").get<std::string>() + " and " +
         setup.at("second").get<std::string>() + ", " +
         FormatSkips(setup.at("min"), setup.at("max"), true) + ": " +
         RealText(setup, partial.real) + "; " + FormatControls(setup, spread.controls) + ": min " +
         FormatValue(spread.min) + ", median " + FormatValue(spread.median) + ", max " +
         FormatValue(spread.max) + ", " + std::to_string(spread.controls - spread.with_value) +
         " without a pair; " + FormatPValue(p, "at most as small");
}

int RunPair(const PairArguments& arguments) {
  const std::u16string first = PrepareStudyWord(arguments.first);
  const std::u16string second = PrepareStudyWord(arguments.second);
  StudyText text = LoadStudyText(arguments.options);
  const auto largest =
      std::max<std::int64_t>(static_cast<std::int64_t>(text.letters.size()) - 1, 1);
  StudySkips skips;
  skips.min = ReadStudySkip("--min", arguments.min, 1, largest);
  skips.max = ReadStudySkip("--max", arguments.max, skips.min, largest);
  skips.both = true;

  StudyPartial partial;
  partial.study = kStudy;
  partial.setup = text.setup;
  partial.setup["first"] = Utf16ToUtf8(first);
  partial.setup["second"] = Utf16ToUtf8(second);
  partial.setup["min"] = skips.min;
  partial.setup["max"] = skips.max;
  partial.real = RealJson(ProximityIn(text.letters, first, second, skips));
  RunStudyControls(
      arguments.options, text,
      [&](std::int64_t, const std::u16string& control) -> ControlValue {
        const std::optional<ClosestPair> closest = ProximityIn(control, first, second, skips);
        return closest ? ControlValue(closest->matrix.Area()) : ControlValue();
      },
      partial);
  return FinishStudy(arguments.options, partial);
}

}  // namespace

void AddPairCommand(CLI::App& app, std::vector<StudyCommand>& commands) {
  auto arguments = std::make_shared<PairArguments>();
  CLI::App* command = app.add_subcommand(
      "pair", "How close WORD1 and WORD2 come, in the text and in control texts");
  command->add_option("WORD1", arguments->first, "The first word, in Hebrew letters")->required();
  command->add_option("WORD2", arguments->second, "The second word")->required();
  command->add_option("--min", arguments->min, "The smallest |skip|, 1 or more")->required();
  command->add_option("--max", arguments->max, "The largest |skip|")->required();
  AddStudyOptions(*command, arguments->options);
  RegisterStudyReport(kStudy, PairReport);
  commands.push_back({command, [arguments] { return RunPair(*arguments); }});
}

}  // namespace quorel
