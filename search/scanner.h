// The scan that a run uses: the finds of one skip at a time, exactly those of the direct scan and
// in the same order.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace quorel {

class Scanner {
 public:
  // Prepares the scan of `letters` for `target` once per run. Both must outlive the scanner.
  Scanner(std::u16string_view letters, std::u16string_view target);

  // Replaces the contents of `finds` with every start position at `skip`, in increasing order.
  void FindsAtSkip(std::int32_t skip, std::vector<std::int32_t>& finds) const;

 private:
  std::u16string_view letters_;
  std::u16string_view target_;
};

}  // namespace quorel
