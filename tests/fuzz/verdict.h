// What became of one run of a program under test, and the checks that decide it.
#pragma once

#include <string>
#include <string_view>

#include "process.h"

namespace fuzz {

// In rising order of gravity: a case reports the gravest verdict of its runs.
enum class Verdict {
  finished,   // exit status 0
  refused,    // non-zero exit status with a message
  limit,      // stopped by the harness's file-size limit: a huge but lawful request
  silent,     // non-zero exit status without any message, or success without its closing text
  memory,     // ran out of the harness's address-space limit
  nonfinite,  // finished, with NaN or Inf in a result
  damage,     // left a readable spectrum unreadable, or wrote through a planted link
  hang,       // CPU or wall time limit reached
  crash,      // ended by a signal, or a sanitizer report
};

const char* verdict_name(Verdict verdict);

// Verdicts that make a run of the harness fail.
bool is_failure(Verdict verdict);

struct Judgement {
  Verdict verdict = Verdict::finished;
  std::string detail;  // signal name, sanitizer line, offending text
};

// The verdict from the process alone.
Judgement judge_process(const ProcessResult& result);

// The first line of `text` holding a NaN or an infinity as a number ("nan", "-Inf",
// "Infinity", "-nan(0x8000)", ...), or the empty text.
std::string nonfinite_line(std::string_view text);

}  // namespace fuzz
