#include "scanner.h"

#include "direct_scan.h"

namespace quorel {

Scanner::Scanner(std::u16string_view letters, std::u16string_view target)
    : letters_(letters), target_(target) {}

void Scanner::FindsAtSkip(std::int32_t skip, std::vector<std::int32_t>& finds) const {
  finds.clear();
  DirectScan(letters_, target_, skip, finds);
}

}  // namespace quorel
