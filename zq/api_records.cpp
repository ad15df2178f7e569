// C entry points for the descriptive records.
#include <string>

#include "zq/error_state.h"
#include "zq/records.h"
#include "zq/zq.h"

namespace {

using zq::RecordKind;

int read(RecordKind kind, const char* name, int number, char* buffer) {
  return zq::guarded([&] { zq::read_record(zq::name_argument(name), kind, number, buffer); });
}

int write(RecordKind kind, const char* name, int number, const char* text) {
  return zq::guarded([&] { zq::write_record(zq::name_argument(name), kind, number, text); });
}

}  // namespace

extern "C" {

int ZQreadInformation(const char* name, int number, char* buffer) {
  return read(RecordKind::information, name, number, buffer);
}
int ZQwriteInformation(const char* name, int number, const char* text) {
  return write(RecordKind::information, name, number, text);
}
int ZQreadAnnotation(const char* name, int axis, char* buffer) {
  return read(RecordKind::annotation, name, axis, buffer);
}
int ZQwriteAnnotation(const char* name, int axis, const char* text) {
  return write(RecordKind::annotation, name, axis, text);
}
int ZQreadCalibration(const char* name, int axis, char* buffer) {
  return read(RecordKind::calibration, name, axis, buffer);
}
int ZQwriteCalibration(const char* name, int axis, const char* text) {
  return write(RecordKind::calibration, name, axis, text);
}
int ZQreadEfficiency(const char* name, int axis, char* buffer) {
  return read(RecordKind::efficiency, name, axis, buffer);
}
int ZQwriteEfficiency(const char* name, int axis, const char* text) {
  return write(RecordKind::efficiency, name, axis, text);
}

}  // extern "C"
