// Text mutations work on lines and blank/comma-separated words; byte mutations on offsets.
#include "mutations.h"

#include <algorithm>
#include <array>
#include <cstdio>

namespace fuzz {
namespace {

constexpr std::array<std::string_view, 24> kExtremes = {
    // reals
    "0", "-1", "1e38", "-1e10", "1e-45", "nan", "inf", "-inf", "1e-38", "3.4e38", "-3.4e38", "1e9",
    "1e20", "-0", "0.0001", "1e308",
    // integers
    "2147483647", "-2147483648", "4294967296", "1000000000", "-5", "99999999999999999999", "3",
    "0"};
constexpr std::size_t kFirstInteger = 16;

constexpr std::array<std::string_view, 6> kHugeCounts = {"10000000",   "100000000", "1000000000",
                                                         "2147483647", "-5",        "0"};

constexpr std::array<std::string_view, 16> kHostileNames = {
    "",
    ".",
    "..",
    "../outside",
    "a/b",
    ".hidden",
    "new\nline",
    "tab\tname",
    "esc\x1b[2J",
    "nnnnnnnnnnnnnnnnnnnnnnnnnnnnnnnnnnnnnnnnnnnnnnnnnnnnnnnnnnnnnnnnnnnnnnnnnnnnnnnnnnnnnnnnnnnnnn"
    "nnnnnnnnnnnnnnnnnnnnnnnnnnnnnnnnnnnnnnnnnnnnnnnnnnnnnnnnnnnnnnnnnnnnnnnnnnnnnnnnnnnnnnnnnnnnnn"
    "nnnnnnnnnnnnnnnnnnnnnnnnnnnnnnnnnnnn",
    "line",
    "nosuch",
    "-",
    "--type",
    "sp ace",
    "a\\b"};

std::vector<std::string> split_lines(const std::string& text, bool& final_newline) {
  std::vector<std::string> lines;
  std::size_t pos = 0;
  while (pos < text.size()) {
    const std::size_t end = text.find('\n', pos);
    if (end == std::string::npos) {
      lines.push_back(text.substr(pos));
      break;
    }
    lines.push_back(text.substr(pos, end - pos));
    pos = end + 1;
  }
  final_newline = !text.empty() && text.back() == '\n';
  return lines;
}

std::string join_lines(const std::vector<std::string>& lines, bool final_newline) {
  std::string text;
  for (std::size_t i = 0; i < lines.size(); ++i) {
    text += lines[i];
    if (i + 1 < lines.size() || final_newline) text += '\n';
  }
  return text;
}

// [begin, end) of each word: runs between blanks, tabs and commas.
std::vector<std::pair<std::size_t, std::size_t>> words_of(const std::string& line) {
  std::vector<std::pair<std::size_t, std::size_t>> words;
  std::size_t pos = 0;
  const auto separator = [](char c) { return c == ' ' || c == '\t' || c == ','; };
  while (pos < line.size()) {
    while (pos < line.size() && separator(line[pos])) ++pos;
    const std::size_t start = pos;
    while (pos < line.size() && !separator(line[pos])) ++pos;
    if (pos > start) words.emplace_back(start, pos);
  }
  return words;
}

bool is_numeric_word(std::string_view word) {
  return std::any_of(word.begin(), word.end(), [](char c) { return c >= '0' && c <= '9'; }) &&
         word.find_first_not_of("0123456789.+-eEdD") == std::string_view::npos;
}

std::string shown(std::string_view text) {
  constexpr std::size_t kMax = 60;
  std::string out;
  for (const char c : text.substr(0, kMax)) {
    if (c >= 32 && c < 127) {
      out += c;
    } else {
      char hex[8];
      std::snprintf(hex, sizeof hex, "\\x%02x", static_cast<unsigned char>(c));
      out += hex;
    }
  }
  if (text.size() > kMax) out += "...(" + std::to_string(text.size()) + " bytes)";
  return "'" + out + "'";
}

std::string line_label(std::size_t index) {
  return "line " + std::to_string(index + 1);
}

// Replaces word `w` of line `index` by `value`.
void replace_word(std::vector<std::string>& lines, std::size_t index,
                  std::pair<std::size_t, std::size_t> w, std::string_view value, Log& log) {
  std::string& line = lines[index];
  log.push_back(line_label(index) + ": " + shown(line.substr(w.first, w.second - w.first)) +
                " -> " + shown(value));
  line.replace(w.first, w.second - w.first, value);
}

bool replace_number(std::vector<std::string>& lines, const TextShape& shape, Random& random,
                    Log& log) {
  std::vector<std::pair<std::size_t, std::pair<std::size_t, std::size_t>>> numbers;
  for (std::size_t i = shape.first_mutable_line; i < lines.size(); ++i) {
    for (const auto& w : words_of(lines[i])) {
      if (is_numeric_word(std::string_view(lines[i]).substr(w.first, w.second - w.first))) {
        numbers.emplace_back(i, w);
      }
    }
  }
  if (numbers.empty()) return false;
  const auto& [index, w] = numbers[random.below(numbers.size())];
  // Mostly a value of the word's own kind, which the reader takes, so the run goes deeper.
  const std::string_view word = std::string_view(lines[index]).substr(w.first, w.second - w.first);
  const bool integer = word.find_first_of(".eEdD") == std::string_view::npos;
  std::size_t pick = random.below(kExtremes.size());
  if (random.chance(80)) {
    pick = integer ? kFirstInteger + random.below(kExtremes.size() - kFirstInteger)
                   : random.below(kFirstInteger);
  }
  replace_word(lines, index, w, kExtremes[pick], log);
  return true;
}

bool blow_up_dimension(std::vector<std::string>& lines, const TextShape& shape, Random& random,
                       Log& log) {
  if (shape.dimension_line < 0 || static_cast<std::size_t>(shape.dimension_line) >= lines.size())
    return false;
  const auto index = static_cast<std::size_t>(shape.dimension_line);
  const auto words = words_of(lines[index]);
  if (words.empty()) return false;
  replace_word(lines, index, words[random.below(words.size())],
               kHugeCounts[random.below(kHugeCounts.size())], log);
  return true;
}

bool change_lines(std::vector<std::string>& lines, Random& random, Log& log) {
  if (lines.empty()) return false;
  const std::size_t i = random.below(lines.size());
  switch (random.below(5)) {
    case 0:
      log.push_back(line_label(i) + " deleted");
      lines.erase(lines.begin() + static_cast<std::ptrdiff_t>(i));
      return true;
    case 1:
      log.push_back(line_label(i) + " duplicated");
      lines.insert(lines.begin() + static_cast<std::ptrdiff_t>(i), lines[i]);
      return true;
    case 2: {
      const std::size_t keep = random.below(lines[i].size() + 1);
      log.push_back(line_label(i) + " cut to " + std::to_string(keep) + " characters");
      lines[i].resize(keep);
      return true;
    }
    case 3:
      if (i + 1 >= lines.size()) return false;
      log.push_back(line_label(i) + " swapped with the next");
      std::swap(lines[i], lines[i + 1]);
      return true;
    default: {
      static constexpr std::array<std::string_view, 5> kJunk = {"", "/", "3*", "'", "x y z"};
      const std::string_view junk = kJunk[random.below(kJunk.size())];
      log.push_back("line " + shown(junk) + " inserted before " + line_label(i));
      lines.insert(lines.begin() + static_cast<std::ptrdiff_t>(i), std::string(junk));
      return true;
    }
  }
}

bool change_byte(std::string& text, Random& random, Log& log) {
  if (text.empty()) return false;
  const std::size_t at = random.below(text.size());
  const char value = static_cast<char>(random.below(256));
  log.push_back("byte " + std::to_string(at) + ": " + shown(text.substr(at, 1)) + " -> " +
                shown(std::string(1, value)));
  text[at] = value;
  return true;
}

// An offset: often in the first 128 bytes (a file's superblock: sizes and addresses), often
// in the first 4 KiB (object headers), else anywhere.
std::size_t offset_in(const std::string& bytes, Random& random) {
  const std::size_t roll = random.below(10);
  const std::size_t span = roll < 3 ? 128 : roll < 7 ? 4096 : bytes.size();
  return random.below(std::min(span, bytes.size()));
}

}  // namespace

std::span<const std::string_view> hostile_names() {
  return kHostileNames;
}

std::span<const std::string_view> extreme_numbers() {
  return kExtremes;
}

std::string mutate_text(std::string text, const TextShape& shape, Random& random, Log& log) {
  const std::size_t changes = 1 + random.below(3);
  for (std::size_t n = 0; n < changes; ++n) {
    const std::size_t choice = random.below(12);
    if (choice >= 10) {
      if (choice == 10) {
        if (!change_byte(text, random, log)) continue;
      } else if (!text.empty()) {
        const std::size_t keep = random.below(text.size());
        log.push_back("file cut to " + std::to_string(keep) + " bytes");
        text.resize(keep);
      }
      continue;
    }
    bool final_newline = false;
    std::vector<std::string> lines = split_lines(text, final_newline);
    if (choice < 5) {
      replace_number(lines, shape, random, log);
    } else if (choice < 7) {
      if (!blow_up_dimension(lines, shape, random, log)) replace_number(lines, shape, random, log);
    } else {
      change_lines(lines, random, log);
    }
    text = join_lines(lines, final_newline);
  }
  return text;
}

std::string mutate_bytes(std::string bytes, Random& random, Log& log) {
  const std::size_t changes = 1 + random.below(2);
  for (std::size_t n = 0; n < changes && !bytes.empty(); ++n) {
    switch (random.below(6)) {
      case 0:
      case 1: {
        const std::size_t count = 1 + random.below(4);
        for (std::size_t k = 0; k < count; ++k) {
          const std::size_t at = offset_in(bytes, random);
          const auto value = static_cast<unsigned char>(random.below(256));
          log.push_back("byte " + std::to_string(at) + " set to " + std::to_string(value));
          bytes[at] = static_cast<char>(value);
        }
        break;
      }
      case 2: {
        const std::size_t at = offset_in(bytes, random);
        const std::size_t length = std::min(bytes.size() - at, 1 + random.below(64));
        const char fill = random.chance(50) ? '\0' : '\xff';
        log.push_back("bytes " + std::to_string(at) + ".." + std::to_string(at + length - 1) +
                      " set to " + (fill == '\0' ? "0x00" : "0xff"));
        std::fill_n(bytes.begin() + static_cast<std::ptrdiff_t>(at), length, fill);
        break;
      }
      case 3: {
        // One byte of the superblock: sizes and addresses the library trusts.
        const std::size_t at = random.below(std::min<std::size_t>(128, bytes.size()));
        log.push_back("byte " + std::to_string(at) + " set to 0");
        bytes[at] = '\0';
        break;
      }
      case 4: {
        const std::size_t keep = random.below(bytes.size());
        log.push_back("file cut to " + std::to_string(keep) + " bytes");
        bytes.resize(keep);
        break;
      }
      default: {
        const std::size_t extra = 1 + random.below(4096);
        log.push_back(std::to_string(extra) + " random bytes appended");
        for (std::size_t k = 0; k < extra; ++k) bytes += static_cast<char>(random.below(256));
        break;
      }
    }
  }
  return bytes;
}

}  // namespace fuzz
