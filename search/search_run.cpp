#include "search_run.h"

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "context_view.h"
#include "decimal_text.h"
#include "find.h"
#include "letter_text.h"
#include "scanner.h"
#include "skip_range.h"
#include "target_word.h"
#include "utf.h"

namespace quorel {
namespace {

std::u16string ResultBoxFullMessage(std::int64_t finds_shown, std::int32_t skip) {
  return u"The result box is full: it shows " + DecimalText(finds_shown) +
         (finds_shown == 1 ? u" find" : u" finds") + u", and the search stopped at skip " +
         DecimalText(skip) + u".";
}

// Appends one find to the result box: its header, then its context view.
void AppendFind(WindowOperations& window, const LetterText& text, const Find& find) {
  window.AppendText(Box::Text4, FindHeader(find));
  AppendContextView(window, text, find);
  window.Repaint(Box::Text4);
}

// Tries every skip of the range; returns how the loop ended.
RunOutcome ScanSkipRange(WindowOperations& window, const LetterText& text,
                         const std::u16string& target, const SkipRange& range) {
  const Scanner scanner(text.Letters(), target);
  const auto target_len = static_cast<std::int64_t>(target.size());
  std::vector<std::int32_t> finds;
  std::int64_t finds_shown = 0;
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
      if (window.RoomLeft(Box::Text4) < LongestFindText(target_len)) {
        window.ShowMessage(ResultBoxFullMessage(finds_shown, skip));
        return RunOutcome::kResultBoxFull;
      }
      AppendFind(window, text, Find{skip, position, target_len});
      ++finds_shown;
    }
  }
  return RunOutcome::kDone;
}

}  // namespace

RunOutcome Command1_Click(WindowOperations& window, const std::filesystem::path& data_file) {
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

  const RunOutcome outcome = ScanSkipRange(window, *load.text, *target, range);
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

RunOutcome Command1_Click(WindowOperations& window) {
  return Command1_Click(window, std::filesystem::path(kDataFileName));
}

}  // namespace quorel
