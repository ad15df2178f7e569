// Record access for the tools and the closing record copy from source to target.
#pragma once

#include <functional>
#include <string>
#include <string_view>

namespace spectools {

enum class RecordKind { information, annotation, calibration, efficiency };

inline constexpr int kInformationRecords = 16;

// Store calls through one 256-byte buffer; each returns the store's status (0 on success).
int read_record(RecordKind kind, const std::string& spectrum, int number, std::string& text);
int write_record(RecordKind kind, const std::string& spectrum, int number, const std::string& text);

struct RecordCopy {
  bool information = true;
  bool annotation = true;
  bool calibration = true;
  bool efficiency = true;
  // Applied to every non-empty record before it is written, when set: a tool's change of
  // a record it recomputes. An empty result leaves the record unwritten.
  std::function<std::string(RecordKind kind, int number, const std::string& text)> edit;
};

// Information records 1..16, then annotation, calibration and efficiency records 1..dim,
// as `copy` selects: each non-empty source record is written to the target under the same
// number; empty ones are not written. A failing read ends the tool through
// library_failed(source), a failing write through library_failed(target).
void copy_records(const std::string& source, const std::string& target, int dim,
                  const RecordCopy& copy = {});

}  // namespace spectools
