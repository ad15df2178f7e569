// Names of the result files: one per model pair, numbered over the pairs with the structure
// models outermost, the number appended to the output root where the status file name cut it.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace polysim {

// Number n = (s - 1) * N11 + v of the pair of structure model s and vibration model v, with
// `vibration_count` = N11 vibration models.
std::int32_t result_number(std::int32_t s, std::int32_t v, std::int32_t vibration_count);

// `output_root` (80 columns) with ".nnnn" (n in four digits, leading zeros) written from
// column `name_column` (1-based, the column p of the status file name) and blank-padded up
// to column 57; columns after 57 keep the root's characters. 80 columns; trailing blanks
// are not part of the name. Throws std::out_of_range for n outside 1..9999 or a column
// outside 1..53.
std::string result_path(std::string_view output_root, int name_column, std::int32_t n);

}  // namespace polysim
