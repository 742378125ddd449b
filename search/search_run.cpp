// SPDX-License-Identifier: GPL-3.0-or-later
#include "search/search_run.h"

#include <algorithm>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "scan/directional_scanner.h"
#include "scan/scanner.h"
#include "search/decimal_text.h"
#include "search/find.h"
#include "search/result_box_sink.h"
#include "search/skip_range.h"
#include "search/target_word.h"
#include "text/hebrew_letters.h"
#include "text/letter_text.h"
#include "text/utf.h"

namespace quorel {
namespace {

// The finds of one signed skip, from the scan the run's options call for: the window's forward
// scan, or the scan of both directions.
class RunScan {
 public:
  RunScan(std::u16string_view letters, std::u16string_view target, bool both_directions) {
    if (both_directions) {
      directional_.emplace(letters, target);
    } else {
      forward_.emplace(letters, target);
    }
  }

  void FindsAtSkip(std::int32_t skip, std::vector<std::int32_t>& finds) const {
    if (directional_) {
      directional_->FindsAtSkip(skip, finds);
    } else {
      forward_->FindsAtSkip(skip, finds);
    }
  }

 private:
  std::optional<Scanner> forward_;
  std::optional<DirectionalScanner> directional_;
};

// The signed skips tried for skip `magnitude` of the range, in the order of their finds: the
// backward reading first.
std::vector<std::int32_t> SignedSkips(std::int32_t magnitude, bool both_directions) {
  if (both_directions) {
    return {static_cast<std::int32_t>(-magnitude), magnitude};
  }
  return {magnitude};
}

// Tries every skip of the range; returns how the loop ended.
RunOutcome ScanSkipRange(WindowOperations& window, const LetterText& text,
                         const std::u16string& target, const SkipRange& range,
                         const SearchOptions& options, FindSink& sink) {
  // Folding reads a copy of the letters; the views go on reading `text` itself.
  const std::u16string folded = options.fold_finals ? FoldFinals(text.Letters()) : std::u16string();
  const RunScan scan(options.fold_finals ? std::u16string_view(folded) : text.Letters(), target,
                     options.both_directions);
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
    for (const std::int32_t signed_skip : SignedSkips(skip, options.both_directions)) {
      scan.FindsAtSkip(signed_skip, finds);
      for (const std::int32_t position : finds) {
        if (!sink.Take(Find{signed_skip, position, target_len})) {
          return sink.Failed() ? RunOutcome::kOutputFailed : RunOutcome::kResultBoxFull;
        }
        window.Repaint(Box::Text4);
        if (window.IsWindowGone()) {
          return RunOutcome::kWindowGone;
        }
        if (window.WasEscapeSeen()) {
          return RunOutcome::kAborted;
        }
      }
      sink.SkipDone(signed_skip, FileStartPositions(text.FileLength(), target_len, signed_skip),
                    finds.size());
      if (sink.Failed()) {
        return RunOutcome::kOutputFailed;
      }
    }
  }
  return RunOutcome::kDone;
}

}  // namespace

std::u16string_view StatusWord(RunOutcome outcome) {
  switch (outcome) {
    case RunOutcome::kDone:
      return u"Done.";
    case RunOutcome::kAborted:
    case RunOutcome::kResultBoxFull:
      return u"Aborted.";
    case RunOutcome::kOutputFailed:
    case RunOutcome::kTargetRefused:
    case RunOutcome::kLoadFailed:
    case RunOutcome::kWindowGone:
      break;
  }
  return {};
}

RunOutcome RunSearch(WindowOperations& window, const std::filesystem::path& data_file,
                     FindSink& sink, const SearchOptions& options) {
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
  const RunOutcome outcome = ScanSkipRange(window, *load.text, *target, range, options, sink);
  if (StatusWord(outcome).empty()) {
    return outcome;
  }
  // The status step; the window shows the word once the run has returned.
  window.Aborted = outcome != RunOutcome::kDone;
  window.SetText(Box::Text5, StatusWord(outcome));
  window.Aborted = false;
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
