// Result file numbering and names.
#include "polysim/result_names.h"

#include <stdexcept>

#include "polysim/run_files.h"
#include "textio/fixed_text.h"

namespace polysim {

namespace {

constexpr int kSuffixEndColumn = 57;
constexpr std::int32_t kLargestNumber = 9999;  // four digits
constexpr int kSuffixWidth = 5;                // ".nnnn"

// ".nnnn": n (1..9999) in four digits with leading zeros.
std::string number_suffix(std::int32_t n) {
  std::string suffix = ".0000";
  for (std::size_t k = suffix.size() - 1; n > 0; --k, n /= 10)
    suffix[k] = static_cast<char>('0' + n % 10);
  return suffix;
}

}  // namespace

std::int32_t result_number(std::int32_t s, std::int32_t v, std::int32_t vibration_count) {
  return (s - 1) * vibration_count + v;
}

std::string result_path(std::string_view output_root, int name_column, std::int32_t n) {
  if (n < 1 || n > kLargestNumber)
    throw std::out_of_range("result file number " + std::to_string(n) + " outside 1..9999");
  if (name_column < 1 || name_column > kSuffixEndColumn - kSuffixWidth + 1)
    throw std::out_of_range("result file name column " + std::to_string(name_column) +
                            " outside 1..53");
  std::string path = textio::fixed_width(output_root, kNameWidth);
  const std::string suffix = textio::fixed_width(
      number_suffix(n), static_cast<std::size_t>(kSuffixEndColumn - name_column + 1));
  path.replace(static_cast<std::size_t>(name_column - 1), suffix.size(), suffix);
  return path;
}

}  // namespace polysim
