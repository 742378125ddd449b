#include "find_listing.h"

#include <algorithm>
#include <optional>
#include <string>
#include <vector>

#include "search/decimal_text.h"
#include "search/scanner.h"
#include "search/skip_range.h"
#include "search/target_word.h"
#include "search/utf.h"

namespace quorel {
namespace {

RunOutcome ListSkipRange(WindowOperations& window, const LetterText& text,
                         const std::u16string& target, const SkipRange& range,
                         FindListener& listener) {
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
      listener.Found(Find{skip, position, target_len});
      window.Repaint(Box::Text4);
    }
    listener.SkipDone(skip, std::max<std::int64_t>(0, LastStart(target_len, skip)), finds.size());
  }
  return RunOutcome::kDone;
}

}  // namespace

RunOutcome ListFinds(WindowOperations& window, const std::filesystem::path& data_file,
                     FindListener& listener) {
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

  listener.Begin(*load.text, *target);
  const RunOutcome outcome = ListSkipRange(window, *load.text, *target, range, listener);
  if (outcome == RunOutcome::kWindowGone) {
    return outcome;
  }
  window.SetText(Box::Text5, outcome == RunOutcome::kDone ? u"Done." : u"Aborted.");
  return outcome;
}

}  // namespace quorel
