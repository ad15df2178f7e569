// Classification of a finished process and the scan of result texts for NaN and Inf.
#include "verdict.h"

#include <signal.h>
#include <string.h>

#include <algorithm>
#include <array>
#include <cctype>
#include <vector>

namespace fuzz {
namespace {

constexpr std::array<std::string_view, 5> kSanitizerMarks = {"AddressSanitizer", "LeakSanitizer",
                                                             "UndefinedBehaviorSanitizer",
                                                             "runtime error:", "MemorySanitizer"};

std::string line_around(std::string_view text, std::size_t pos) {
  const std::size_t begin = text.rfind('\n', pos);
  const std::size_t first = begin == std::string_view::npos ? 0 : begin + 1;
  const std::size_t end = text.find('\n', pos);
  return std::string(text.substr(first, end == std::string_view::npos ? end : end - first));
}

// What a refusing program said: the first line of its error stream, or else the last lines of
// its output (a message block ends there).
std::string message_of(const ProcessResult& result) {
  const std::size_t first = result.err.find_first_not_of(" \n");
  if (first != std::string::npos) return line_around(result.err, first);
  std::vector<std::string> lines;
  std::size_t end = result.out.size();
  while (lines.size() < 3 && end > 0) {
    const std::size_t last = result.out.find_last_not_of(" \n", end - 1);
    if (last == std::string::npos) break;
    lines.insert(lines.begin(), line_around(result.out, last));
    const std::size_t begin = result.out.rfind('\n', last);
    end = begin == std::string::npos ? 0 : begin;
  }
  std::string message;
  for (const std::string& line : lines) message += (message.empty() ? "" : " | ") + line;
  return message;
}

bool is_number_char(char c) {
  return std::isalnum(static_cast<unsigned char>(c)) != 0 || c == '.' || c == '+' || c == '-';
}

// "nan", "inf", "infinity" with an optional sign, in any case ("-nan(0x8)" ends at the bracket).
bool is_nonfinite_word(std::string_view word) {
  std::string w;
  for (const char c : word) w += static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
  if (!w.empty() && (w[0] == '+' || w[0] == '-')) w.erase(0, 1);
  return w == "nan" || w == "inf" || w == "infinity";
}

}  // namespace

const char* verdict_name(Verdict verdict) {
  switch (verdict) {
    case Verdict::finished:
      return "finished";
    case Verdict::refused:
      return "refused";
    case Verdict::limit:
      return "size-limit";
    case Verdict::silent:
      return "silent";
    case Verdict::memory:
      return "memory";
    case Verdict::nonfinite:
      return "nan-inf";
    case Verdict::damage:
      return "damage";
    case Verdict::hang:
      return "hang";
    case Verdict::crash:
      return "crash";
  }
  return "?";
}

bool is_failure(Verdict verdict) {
  return verdict != Verdict::finished && verdict != Verdict::refused && verdict != Verdict::limit;
}

Judgement judge_process(const ProcessResult& result) {
  if (!result.started) return {Verdict::crash, "could not start the program"};
  if (result.timed_out) return {Verdict::hang, "wall time limit"};
  if (result.signal == SIGXCPU || result.signal == SIGKILL) return {Verdict::hang, "CPU limit"};
  if (result.signal == SIGXFSZ) return {Verdict::limit, "file size limit"};
  if (result.signal != 0) {
    return {Verdict::crash, std::string("signal ") + std::to_string(result.signal) + " (" +
                                sigabbrev_np(result.signal) + ")"};
  }
  const std::string both = result.out + result.err;
  std::size_t report = std::string::npos;  // the first line of a sanitizer report
  for (const std::string_view mark : kSanitizerMarks) report = std::min(report, both.find(mark));
  if (report != std::string::npos) return {Verdict::crash, line_around(both, report)};
  const std::size_t oom = both.find("bad_alloc");
  if (oom != std::string::npos) return {Verdict::memory, line_around(both, oom)};
  if (result.exit_code == 126 || result.exit_code == 127) {
    return {Verdict::crash, "could not execute the program"};
  }
  if (result.exit_code != 0) {
    const bool quiet = std::all_of(both.begin(), both.end(), [](char c) {
      return std::isspace(static_cast<unsigned char>(c));
    });
    if (quiet) return {Verdict::silent, "exit status " + std::to_string(result.exit_code)};
    return {Verdict::refused, message_of(result)};
  }
  return {Verdict::finished, ""};
}

std::string nonfinite_line(std::string_view text) {
  std::size_t pos = 0;
  while (pos < text.size()) {
    while (pos < text.size() && !is_number_char(text[pos])) ++pos;
    const std::size_t start = pos;
    while (pos < text.size() && is_number_char(text[pos])) ++pos;
    if (pos > start && is_nonfinite_word(text.substr(start, pos - start))) {
      return line_around(text, start);
    }
  }
  return "";
}

}  // namespace fuzz
