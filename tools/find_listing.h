// The finds of a search handed one by one to a listener, for the scripting outputs of
// quorel-search, instead of being written into the result box as text.
#pragma once

#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <string_view>

#include "search/find.h"
#include "search/letter_text.h"
#include "search/search_run.h"
#include "search/window_operations.h"

namespace quorel {

class FindListener {
 public:
  virtual ~FindListener() = default;

  // Once, before the first skip: the loaded text and the prepared word. Both outlive the
  // listing.
  virtual void Begin(const LetterText& text, std::u16string_view target) = 0;
  // Every find, in the order of the result text: by skip, then by start position.
  virtual void Found(const Find& find) = 0;
  // After every start position of `skip` was tested; `start_positions` is 0 when none fits.
  virtual void SkipDone(std::int32_t skip, std::int64_t start_positions, std::size_t finds) = 0;
};

// The search run's steps in the run's order, with the same messages, Escape polls and status
// word, but the finds go to `listener` and the result box gets none of them. It is still
// emptied at the start and repainted once per find, so a window can count the finds.
RunOutcome ListFinds(WindowOperations& window, const std::filesystem::path& data_file,
                     FindListener& listener);

}  // namespace quorel
