// Descriptive records of a spectrum: texts of at most 255 characters, stored as attributes
// named after their kind and number ("information_3", "calibration_1").
#pragma once

#include <cstddef>
#include <string>
#include <string_view>

namespace zq {

enum class RecordKind { information, annotation, calibration, efficiency };

inline constexpr int kInformationRecords = 16;
inline constexpr std::size_t kMaxRecordLength = 255;

const char* record_kind_name(RecordKind kind);
std::string record_attribute(RecordKind kind, int number);

// Copies the record into `buffer` (kMaxRecordLength + 1 bytes, NUL-terminated); an absent
// record reads as the empty text. Information numbers run 1..16, the others 1..dim.
void read_record(std::string_view name, RecordKind kind, int number, char* buffer);
// Replaces the record; the empty text removes it. Longer texts throw ZQ_ERECORDLONG.
void write_record(std::string_view name, RecordKind kind, int number, const char* text);

}  // namespace zq
