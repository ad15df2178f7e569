// The table of tool command lines.
#include "spectools/frame/usage.h"

#include <array>
#include <stdexcept>

#include "spectools/frame/tool_exit.h"

namespace spectools {
namespace {

constexpr std::string_view kCorrected = "spectrum %s corrected for detector distortion to %s\n";
constexpr std::string_view kCopied = "copied spectrum %s to spectrum %s\n";

constexpr std::array<ToolUsage, 9> kUsages = {{
    {"warpcorr", "Usage: warpcorr from_spec to_spec [correction_file]\n", false, 3, 4, kCorrected},
    {"stepcorr", "Usage: stepcorr from_spec to_spec [correction_file]\n", false, 3, 4, kCorrected},
    {"kinecorr",
     "Usage: kinecorr from_spec to_spec beam_energy beam_mass target_mass <angle offset>\n", false,
     6, 7, "spectrum %s corrected for k squared to %s\n"},
    {"flatcorr", "Usage: flatcorr from_spec to_spec \n", false, 3, 3,
     "spectrum %s corrected for intensity to %s\n"},
    {"binshrink", "Usage: binshrink from_spec to_spec factor\n", false, 3, kNoLimit,
     "spectrum %s squashed by a factor of %d\n"},
    {"histsum", "Usage: histsum fromspec [fromspec ...] tospec", true, 3, kNoLimit,
     "merged spectra into spectrum %s\n"},
    {"regioncopy", "Usage: regioncopy fromspec tospec [base range [base range]]", true, 3, kNoLimit,
     kCopied},
    {"histcopy", "Usage: histcopy fromspec tospec", true, 3, 3, kCopied},
    {"histtext", "Usage: histtext fromspec tospec format", true, 3, kNoLimit,
     "copied spectrum %s to ASCII file %s\n"},
}};

}  // namespace

const ToolUsage& usage_of(std::string_view tool) {
  for (const ToolUsage& usage : kUsages) {
    if (usage.tool == tool) return usage;
  }
  throw std::out_of_range("no spectrum tool named " + std::string(tool));
}

bool accepts(const ToolUsage& usage, int argc) {
  return argc >= usage.min_count && argc <= usage.max_count;
}

std::string usage_output(const ToolUsage& usage) {
  std::string output(usage.text);
  if (usage.printed_by_crash) output += '\n';
  return output;
}

void check_argument_count(const ToolUsage& usage, int argc) {
  if (!accepts(usage, argc)) throw ToolExit(1, usage_output(usage));
}

std::string closing_message(const ToolUsage& usage,
                            std::initializer_list<std::string_view> fields) {
  std::string message;
  auto field = fields.begin();
  const std::string_view pattern = usage.closing;
  for (std::size_t i = 0; i < pattern.size(); ++i) {
    const bool placeholder = pattern[i] == '%' && i + 1 < pattern.size() &&
                             (pattern[i + 1] == 's' || pattern[i + 1] == 'd');
    if (placeholder && field != fields.end()) {
      message += *field++;
      ++i;
    } else {
      message += pattern[i];
    }
  }
  return message;
}

}  // namespace spectools
