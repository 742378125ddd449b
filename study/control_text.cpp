#include "study/control_text.h"

#include <numeric>
#include <utility>

#include "study/control_random.h"

namespace quorel {
namespace {

template <typename T>
void Shuffle(T* items, std::size_t count, ControlRandom& random) {
  for (std::size_t i = count; i > 1; --i) {
    const std::uint32_t j = random.Below(static_cast<std::uint32_t>(i));
    std::swap(items[i - 1], items[j]);
  }
}

void ShuffleVerses(const ControlSource& source, ControlRandom& random, std::u16string& out) {
  const std::vector<std::int32_t>& starts = source.verse_starts;
  std::vector<std::int32_t> order(starts.size());
  std::iota(order.begin(), order.end(), 0);
  Shuffle(order.data(), order.size(), random);
  const auto length = static_cast<std::int32_t>(source.letters.size());
  const std::int32_t prefix = starts.empty() ? length : starts.front();
  out.assign(source.letters.substr(0, static_cast<std::size_t>(prefix)));
  for (const std::int32_t verse : order) {
    const std::size_t v = static_cast<std::size_t>(verse);
    const std::int32_t end = v + 1 < starts.size() ? starts[v + 1] : length;
    out.append(source.letters.substr(static_cast<std::size_t>(starts[v]),
                                     static_cast<std::size_t>(end - starts[v])));
  }
}

}  // namespace

std::string_view ControlKindName(ControlKind kind) {
  return kind == ControlKind::kLetters ? "letters" : "verses";
}

std::optional<ControlKind> ControlKindNamed(std::string_view name) {
  if (name == "letters") {
    return ControlKind::kLetters;
  }
  if (name == "verses") {
    return ControlKind::kVerses;
  }
  return std::nullopt;
}

void MakeControlText(const ControlSource& source, std::uint64_t seed, std::uint64_t control_index,
                     std::u16string& out) {
  ControlRandom random(seed, control_index);
  if (source.kind == ControlKind::kVerses) {
    ShuffleVerses(source, random, out);
    return;
  }
  out.assign(source.letters);
  Shuffle(out.data(), out.size(), random);
}

}  // namespace quorel
