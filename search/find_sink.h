// SPDX-License-Identifier: GPL-3.0-or-later
// Where a run's finds go. The window's run writes them into the result box; the scripting
// outputs of quorel-search take the same finds, from the same run, in other forms.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string_view>

#include "search/find.h"
#include "text/letter_text.h"

namespace quorel {

class FindSink {
 public:
  virtual ~FindSink() = default;

  // Once, before the first skip: the loaded text and the prepared word, which outlive the run.
  virtual void Begin(const LetterText& /*text*/, std::u16string_view /*target*/) {}
  // Every find, in the run's order (by skip, then by position; see SearchOptions for both
  // directions). False when the find cannot be taken: the run then stops and ends with
  // "Aborted.", or with no status word when the sink Failed().
  virtual bool Take(const Find& find) = 0;
  // After every start position of `skip` was tested. `start_positions` counts those whose
  // letters all lie within the letters the data file held; 0 when none fits.
  virtual void SkipDone(std::int32_t /*skip*/, std::int64_t /*start_positions*/,
                        std::size_t /*finds*/) {}
  // True once the sink could not pass on what it was given (its output failed): the run stops
  // at once, after the find or the skip it was at, with no status word; the front end that
  // made the sink says why.
  virtual bool Failed() const { return false; }
};

}  // namespace quorel
