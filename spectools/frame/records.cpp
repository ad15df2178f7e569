// Record reads and writes through the store's C interface, and the record copy.
#include "spectools/frame/records.h"

#include "spectools/frame/failures.h"
#include "zq/zq.h"

namespace spectools {
namespace {

using Reader = int (*)(const char*, int, char*);
using Writer = int (*)(const char*, int, const char*);

Reader reader_of(RecordKind kind) {
  switch (kind) {
    case RecordKind::information:
      return ZQreadInformation;
    case RecordKind::annotation:
      return ZQreadAnnotation;
    case RecordKind::calibration:
      return ZQreadCalibration;
    default:
      return ZQreadEfficiency;
  }
}

Writer writer_of(RecordKind kind) {
  switch (kind) {
    case RecordKind::information:
      return ZQwriteInformation;
    case RecordKind::annotation:
      return ZQwriteAnnotation;
    case RecordKind::calibration:
      return ZQwriteCalibration;
    default:
      return ZQwriteEfficiency;
  }
}

void copy_kind(RecordKind kind, int last, const std::string& source, const std::string& target,
               const RecordCopy& copy) {
  for (int number = 1; number <= last; ++number) {
    std::string text;
    if (read_record(kind, source, number, text) != 0) library_failed(source);
    if (text.empty()) continue;
    if (copy.edit) text = copy.edit(kind, number, text);
    if (text.empty()) continue;
    if (write_record(kind, target, number, text) != 0) library_failed(target);
  }
}

}  // namespace

int read_record(RecordKind kind, const std::string& spectrum, int number, std::string& text) {
  char buffer[ZQ_RECORD_SIZE] = {};
  const int status = reader_of(kind)(spectrum.c_str(), number, buffer);
  buffer[ZQ_RECORD_SIZE - 1] = '\0';
  text = status == 0 ? buffer : "";
  return status;
}

int write_record(RecordKind kind, const std::string& spectrum, int number,
                 const std::string& text) {
  return writer_of(kind)(spectrum.c_str(), number, text.c_str());
}

void copy_records(const std::string& source, const std::string& target, int dim,
                  const RecordCopy& copy) {
  if (copy.information) {
    copy_kind(RecordKind::information, kInformationRecords, source, target, copy);
  }
  if (copy.annotation) copy_kind(RecordKind::annotation, dim, source, target, copy);
  if (copy.calibration) copy_kind(RecordKind::calibration, dim, source, target, copy);
  if (copy.efficiency) copy_kind(RecordKind::efficiency, dim, source, target, copy);
}

}  // namespace spectools
