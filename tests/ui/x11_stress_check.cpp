// SPDX-License-Identifier: GPL-3.0-or-later
// Checks what a search run left in the real window against every find the search has, for the
// X11 stress test (quorel_x11_stress_test.sh):
//
//   quorel-x11-stress-check DATA_FILE WORD FINDS_JSON BOX_TEXT STATUS_TEXT
//                           [--typed CHARS] [--escape] [--message MESSAGE_TEXT] [--capacity N]
//
// FINDS_JSON holds `quorel-search --json WORD MIN MAX` for the same data file and range;
// BOX_TEXT and STATUS_TEXT the texts of Text4 and Text5 as copied (UTF-8, LF line breaks);
// CHARS the characters typed into the boxes during the run, which are set aside; --escape says
// that Escape was pressed during the run; MESSAGE_TEXT is a copied message box, if one came.
//
// The result box must hold, in order, a prefix of the finds, each as its header and either its
// one-line or its area view (the area box was toggled during the run), letter for letter as
// worked out here from the data file. The prefix and the status word must agree:
//   "Done."     every find;
//   "Aborted."  by Escape: a prefix of the finds, cut before a skip or between two finds of
//               one (the window handles its events between finds once a frame);
//               by a full box: the finds that the message counts, the next one at the skip
//               that it names, and no room left in the box for one more find (where the
//               message was closed before the test could read it, the last alone).
// Prints one line that says what the run left; exits 1 with the reason when a check fails.
#include <charconv>
#include <cstdint>
#include <cstdio>
#include <fstream>
#include <iterator>
#include <optional>
#include <sstream>
#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

namespace {

constexpr std::int64_t kTextLength = 304805;
constexpr std::int64_t kRowsAround = 10;
constexpr char16_t kAlef = u'\u05D0';

struct Failure : std::runtime_error {
  using std::runtime_error::runtime_error;
};

std::string ReadFile(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  if (!in) {
    throw Failure("cannot read " + path);
  }
  return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

std::u16string FromUtf8(std::string_view text) {
  std::u16string out;
  out.reserve(text.size());
  for (std::size_t k = 0; k < text.size();) {
    const auto byte = static_cast<unsigned char>(text[k]);
    char32_t code = 0;
    int more = 0;
    if (byte < 0x80) {
      code = byte;
    } else if ((byte & 0xE0) == 0xC0) {
      code = byte & 0x1F;
      more = 1;
    } else if ((byte & 0xF0) == 0xE0) {
      code = byte & 0x0F;
      more = 2;
    } else {
      throw Failure("the copied text holds a character outside the BMP or bad UTF-8");
    }
    if (k + static_cast<std::size_t>(more) >= text.size()) {
      throw Failure("the copied text ends inside a UTF-8 character");
    }
    for (int m = 1; m <= more; ++m) {
      code =
          (code << 6) | (static_cast<unsigned char>(text[k + static_cast<std::size_t>(m)]) & 0x3F);
    }
    out += static_cast<char16_t>(code);
    k += static_cast<std::size_t>(more) + 1;
  }
  return out;
}

std::string ToUtf8(std::u16string_view text) {
  std::string out;
  for (const char16_t c : text) {
    if (c < 0x80) {
      out += static_cast<char>(c);
    } else if (c < 0x800) {
      out += static_cast<char>(0xC0 | (c >> 6));
      out += static_cast<char>(0x80 | (c & 0x3F));
    } else {
      out += static_cast<char>(0xE0 | (c >> 12));
      out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
      out += static_cast<char>(0x80 | (c & 0x3F));
    }
  }
  return out;
}

std::u16string Ascii(std::string_view text) {
  return {text.begin(), text.end()};
}

// The data file's letters: one byte each, 0x80 alef to 0x9A tav in Unicode order.
std::u16string Letters(const std::string& path) {
  const std::string bytes = ReadFile(path);
  if (static_cast<std::int64_t>(bytes.size()) != kTextLength) {
    throw Failure(path + " does not hold " + std::to_string(kTextLength) + " letters");
  }
  std::u16string letters;
  letters.reserve(bytes.size());
  for (const char byte : bytes) {
    const auto code = static_cast<unsigned char>(byte);
    if (code < 0x80 || code > 0x9A) {
      throw Failure(path + " holds a byte that is no letter");
    }
    letters += static_cast<char16_t>(kAlef + (code - 0x80));
  }
  return letters;
}

struct Find {
  std::int64_t skip;
  std::int64_t position;
  std::string line;  // the one-line view's letters, as quorel-search gives them
};

std::int64_t NumberAfter(const std::string& line, std::string_view key) {
  const std::size_t at = line.find(key);
  std::int64_t value = 0;
  if (at == std::string::npos ||
      std::from_chars(line.data() + at + key.size(), line.data() + line.size(), value).ec !=
          std::errc()) {
    throw Failure("no " + std::string(key) + " in the find " + line);
  }
  return value;
}

std::string StringAfter(const std::string& line, std::string_view key) {
  const std::size_t at = line.find(key);
  if (at == std::string::npos) {
    throw Failure("no " + std::string(key) + " in the find " + line);
  }
  const std::size_t start = at + key.size();
  return line.substr(start, line.find('"', start) - start);
}

std::vector<Find> ReadFinds(const std::string& path) {
  std::istringstream in(ReadFile(path));
  std::vector<Find> finds;
  for (std::string line; std::getline(in, line);) {
    if (!line.empty()) {
      finds.push_back({NumberAfter(line, "\"skip\":"), NumberAfter(line, "\"position\":"),
                       StringAfter(line, "\"line\":\"")});
    }
  }
  return finds;
}

// The views of one find, worked out from the letters as the result box shows them.
class Views {
 public:
  Views(const std::u16string& letters, std::int64_t word_length)
      : letters_(letters), word_length_(word_length) {}

  static std::u16string Header(const Find& find) {
    return Ascii("Skip: " + std::to_string(find.skip) + "\nPosition: " +
                 std::to_string(find.position) + " of " + std::to_string(kTextLength) + "\n");
  }

  std::u16string Line(const Find& find) const {
    std::u16string line;
    for (std::int64_t j = 1; j <= word_length_ + 2 * kRowsAround; ++j) {
      const std::int64_t k = find.position + (j - kRowsAround - 1) * find.skip;
      if (j == kRowsAround + 1) {
        line += u' ';
      }
      if (Inside(k)) {
        line += At(k);
      }
      if (j == word_length_ + kRowsAround) {
        line += u' ';
      }
    }
    return line;
  }

  std::u16string OneLine(const Find& find) const { return u"Result: " + Line(find) + u"\n\n"; }

  std::u16string Area(const Find& find) const {
    std::u16string view = u"\n";
    for (std::int64_t j = 1; j <= word_length_ + 2 * kRowsAround; ++j) {
      const std::int64_t k = find.position + (j - kRowsAround - 1) * find.skip;
      if (Inside(k)) {
        view += Row(k);
      }
      if (j == kRowsAround || j == word_length_ + kRowsAround) {
        view += u'\n';
      }
    }
    return view + u'\n';
  }

  // The most that one find can add to the box, counting a line break as two characters.
  std::int64_t Longest() const {
    const std::int64_t header = 64;
    return header + (word_length_ + 2 * kRowsAround) * (61 + 2) + 4 * 2;
  }

 private:
  static bool Inside(std::int64_t k) { return k >= 1 && k <= kTextLength; }
  char16_t At(std::int64_t k) const { return letters_[static_cast<std::size_t>(k - 1)]; }
  char16_t PaddedAt(std::int64_t k) const { return Inside(k) ? At(k) : u' '; }

  std::u16string Row(std::int64_t k) const {
    std::u16string row = u"\u05D0   ";
    for (std::int64_t p = k - 25; p < k; ++p) {
      row += PaddedAt(p);
    }
    row += u' ';
    row += At(k);
    row += u' ';
    for (std::int64_t p = k + 1; p <= k + 25; ++p) {
      row += PaddedAt(p);
    }
    return row + u"   \u05D0\n";
  }

  const std::u16string& letters_;
  std::int64_t word_length_;
};

std::u16string WithoutTyped(std::u16string_view text, std::u16string_view typed) {
  std::u16string kept;
  kept.reserve(text.size());
  for (const char16_t c : text) {
    if (typed.find(c) == std::u16string_view::npos) {
      kept += c;
    }
  }
  return kept;
}

// The box's length as the window counts it: a line break is two characters.
std::int64_t WindowLength(std::u16string_view box) {
  std::int64_t length = 0;
  for (const char16_t c : box) {
    length += c == u'\n' ? 2 : 1;
  }
  return length;
}

std::string Excerpt(std::u16string_view text, std::size_t at) {
  std::string shown = ToUtf8(text.substr(at, 120));
  for (char& c : shown) {
    if (c == '\n') {
      c = '|';
    }
  }
  return "'" + shown + "'";
}

struct BoxContents {
  std::size_t finds = 0;
  std::size_t one_line = 0;
  std::size_t area = 0;
};

// Walks the box find by find; every find must be the next one of the search, in one of its
// two views.
BoxContents ReadBox(std::u16string_view box, const std::vector<Find>& finds, const Views& views) {
  BoxContents contents;
  std::size_t at = 0;
  while (at < box.size()) {
    if (contents.finds == finds.size()) {
      throw Failure("the box holds more than the " + std::to_string(finds.size()) +
                    " finds of the search: " + Excerpt(box, at));
    }
    const Find& find = finds[contents.finds];
    const std::u16string header = Views::Header(find);
    if (box.substr(at, header.size()) != header) {
      throw Failure("find " + std::to_string(contents.finds + 1) + " should start " +
                    Excerpt(header, 0) + ", the box has " + Excerpt(box, at));
    }
    at += header.size();
    if (ToUtf8(views.Line(find)) != find.line) {
      throw Failure("the one-line view worked out here, " + Excerpt(views.Line(find), 0) +
                    ", is not quorel-search's '" + find.line + "'");
    }
    const std::u16string one_line = views.OneLine(find);
    const std::u16string area = views.Area(find);
    if (box.substr(at, one_line.size()) == one_line) {
      at += one_line.size();
      ++contents.one_line;
    } else if (box.substr(at, area.size()) == area) {
      at += area.size();
      ++contents.area;
    } else {
      throw Failure("find " + std::to_string(contents.finds + 1) + " (skip " +
                    std::to_string(find.skip) + ", position " + std::to_string(find.position) +
                    ") has neither view: " + Excerpt(box, at));
    }
    ++contents.finds;
  }
  return contents;
}

struct FullBoxMessage {
  std::int64_t finds;
  std::int64_t skip;
};

std::optional<FullBoxMessage> ParseMessage(const std::string& text) {
  const std::string start = "The result box is full: it shows ";
  const std::size_t at = text.find(start);
  if (at == std::string::npos) {
    throw Failure("the message box said something else: " + text);
  }
  FullBoxMessage message{};
  const char* p = text.data() + at + start.size();
  const char* end = text.data() + text.size();
  auto parsed = std::from_chars(p, end, message.finds);
  const std::string middle = message.finds == 1 ? " find, and the search stopped at skip "
                                                : " finds, and the search stopped at skip ";
  if (parsed.ec != std::errc() ||
      std::string_view(parsed.ptr, end).substr(0, middle.size()) != middle) {
    throw Failure("the message box's sentence is not as it should be: " + text);
  }
  parsed = std::from_chars(parsed.ptr + middle.size(), end, message.skip);
  if (parsed.ec != std::errc() || parsed.ptr == end || *parsed.ptr != '.') {
    throw Failure("the message box's sentence is not as it should be: " + text);
  }
  return message;
}

struct Options {
  std::string data_file, word, finds_file, box_file, status_file;
  std::u16string typed;
  bool escape = false;
  std::string message_file;
  std::int64_t capacity = 32'000'000;
};

Options ParseArguments(int argc, char** argv) {
  if (argc < 6) {
    throw Failure(
        "usage: quorel-x11-stress-check DATA_FILE WORD FINDS_JSON BOX_TEXT STATUS_TEXT "
        "[--typed CHARS] [--escape] [--message MESSAGE_TEXT] [--capacity N]");
  }
  Options options;
  options.data_file = argv[1];
  options.word = argv[2];
  options.finds_file = argv[3];
  options.box_file = argv[4];
  options.status_file = argv[5];
  for (int k = 6; k < argc; ++k) {
    const std::string_view flag = argv[k];
    const bool has_value = k + 1 < argc;
    if (flag == "--escape") {
      options.escape = true;
    } else if (flag == "--typed" && has_value) {
      options.typed = FromUtf8(argv[++k]);
    } else if (flag == "--message" && has_value) {
      options.message_file = argv[++k];
    } else if (flag == "--capacity" && has_value) {
      options.capacity = std::stoll(argv[++k]);
    } else {
      throw Failure("unknown argument " + std::string(flag));
    }
  }
  return options;
}

std::string Check(const Options& options) {
  const std::u16string letters = Letters(options.data_file);
  const auto word_length = static_cast<std::int64_t>(FromUtf8(options.word).size());
  const std::vector<Find> finds = ReadFinds(options.finds_file);
  const std::u16string raw_box = FromUtf8(ReadFile(options.box_file));
  const std::u16string status =
      WithoutTyped(FromUtf8(ReadFile(options.status_file)), options.typed);
  const Views views(letters, word_length);

  const BoxContents box = ReadBox(WithoutTyped(raw_box, options.typed), finds, views);
  const std::size_t shown = box.finds;
  const bool all = shown == finds.size();
  const bool at_skip_boundary = all || shown == 0 || finds[shown].skip != finds[shown - 1].skip;
  const bool box_full = WindowLength(raw_box) + views.Longest() > options.capacity;

  std::string ended;
  if (status == u"Done.") {
    if (!all || !options.message_file.empty()) {
      throw Failure("\"Done.\" with " + std::to_string(shown) + " of " +
                    std::to_string(finds.size()) + " finds in the box" +
                    (options.message_file.empty() ? "" : " and a full-box message"));
    }
    ended = "Done.";
  } else if (status != u"Aborted.") {
    throw Failure("the status word is '" + ToUtf8(status) + "'");
  } else if (!options.message_file.empty()) {
    const FullBoxMessage message = *ParseMessage(ReadFile(options.message_file));
    if (message.finds != static_cast<std::int64_t>(shown) || all ||
        finds[shown].skip != message.skip || !box_full) {
      throw Failure("the message counts " + std::to_string(message.finds) + " finds at skip " +
                    std::to_string(message.skip) + ", the box holds " + std::to_string(shown) +
                    (all ? " (all)" : ", the next at skip " + std::to_string(finds[shown].skip)) +
                    ", with " + std::to_string(options.capacity - WindowLength(raw_box)) +
                    " characters left");
    }
    ended = "Aborted. by a full box at skip " + std::to_string(message.skip);
  } else if (options.escape) {
    // Escape counts at a skip's poll, or between two finds of a skip with many, where the
    // window handles its events once a frame.
    ended = "Aborted. by Escape " + (all ? std::string("after the last find")
                                         : (at_skip_boundary ? "before skip " : "within skip ") +
                                               std::to_string(finds[shown].skip));
  } else if (box_full && !all) {
    // Escape, or a click that lands on its button, can close the full-box message before the
    // test reads it.
    ended = "Aborted. by a full box at skip " + std::to_string(finds[shown].skip) +
            " (its message closed before it was read)";
  } else {
    throw Failure("\"Aborted.\" with " + std::to_string(shown) + " of " +
                  std::to_string(finds.size()) + " finds" +
                  (at_skip_boundary ? "" : ", in the middle of a skip,") + " and " +
                  (options.escape ? "a box that was not full" : "no Escape and no message"));
  }
  return std::to_string(shown) + " of " + std::to_string(finds.size()) + " finds (" +
         std::to_string(box.one_line) + " one-line, " + std::to_string(box.area) + " area), " +
         std::to_string(WindowLength(raw_box)) + " characters; " + ended;
}

}  // namespace

int main(int argc, char** argv) {
  try {
    std::printf("%s\n", Check(ParseArguments(argc, argv)).c_str());
    return 0;
  } catch (const std::exception& error) {
    std::fprintf(stderr, "quorel-x11-stress-check: %s\n", error.what());
    return 1;
  }
}
