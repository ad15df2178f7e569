// Descriptive records of a spectrum: texts of at most 255 characters, stored as attributes
// named after their kind and number ("information_3", "calibration_1").
#pragma once

#include <hdf5.h>

#include <cstddef>
#include <string>
#include <string_view>

namespace zq {

class SpectrumFile;

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

// Every record of `from` into the file `to`, which holds none yet. A record that is not a
// text throws ZQ_EDAMAGED.
void copy_records(const SpectrumFile& from, hid_t to);

}  // namespace zq
