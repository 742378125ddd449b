#include "search/search_run.h"

#include <algorithm>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "scan/scanner.h"
#include "search/decimal_text.h"
#include "search/find.h"
#include "search/result_box_sink.h"
#include "search/skip_range.h"
#include "search/target_word.h"
#include "text/letter_text.h"
#include "text/utf.h"

namespace quorel {
namespace {

// Tries every skip of the range; returns how the loop ended.
RunOutcome ScanSkipRange(WindowOperations& window, const LetterText& text,
                         const std::u16string& target, const SkipRange& range, FindSink& sink) {
  const Scanner scanner(text.Letters(), target);
  const auto target_len = static_cast<std::int64_t>(target.size());
  std::vector<std::int32_t> finds;
  for (std::int32_t skip = range.MinSkip; skip <= range.MaxSkip; ++skip) {
    window.SetText(Box::Text5, DecimalText(skip));
    window.Repaint(Box::Text5);
    window.PumpEvents();
    if (window.IsWindowGone()) {
      return RunOutcome::kWindowGone;
    }
    if (window.IsEscapeDown()) {
      return RunOutcome::kAborted;
    }
    scanner.FindsAtSkip(skip, finds);
    for (const std::int32_t position : finds) {
      if (!sink.Take(Find{skip, position, target_len})) {
        return RunOutcome::kResultBoxFull;
      }
      window.Repaint(Box::Text4);
      if (window.IsWindowGone()) {
        return RunOutcome::kWindowGone;
      }
      if (window.WasEscapeSeen()) {
        return RunOutcome::kAborted;
      }
    }
    sink.SkipDone(skip, std::max<std::int64_t>(0, LastStart(target_len, skip)), finds.size());
  }
  return RunOutcome::kDone;
}

}  // namespace

RunOutcome RunSearch(WindowOperations& window, const std::filesystem::path& data_file,
                     FindSink& sink) {
  window.Aborted = false;
  window.SetText(Box::Text4, u"");
  window.Repaint(Box::Text4);

  const LoadResult load = LoadLetterText(data_file);
  if (!load.text) {
    window.ShowMessage(Utf8ToUtf16(load.failure));
    return RunOutcome::kLoadFailed;
  }
  const SkipRange range = ReadSkipRange(window);
  const std::optional<std::u16string> target = PrepareTarget(window);
  if (!target) {
    return RunOutcome::kTargetRefused;
  }

  sink.Begin(*load.text, *target);
  const RunOutcome outcome = ScanSkipRange(window, *load.text, *target, range, sink);
  if (outcome == RunOutcome::kWindowGone) {
    return outcome;
  }
  // The status step; the window shows the word once the run has returned.
  window.Aborted = outcome != RunOutcome::kDone;
  if (window.Aborted) {
    window.SetText(Box::Text5, u"Aborted.");
    window.Aborted = false;
  } else {
    window.SetText(Box::Text5, u"Done.");
  }
  return outcome;
}

RunOutcome Command1_Click(WindowOperations& window, const std::filesystem::path& data_file) {
  ResultBoxSink sink(window);
  return RunSearch(window, data_file, sink);
}

RunOutcome Command1_Click(WindowOperations& window) {
  return Command1_Click(window, std::filesystem::path(kDataFileName));
}

}  // namespace quorel
