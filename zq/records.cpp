// Reading and writing the record attributes of a spectrum file.
#include "zq/records.h"

#include <cstring>

#include "zq/error.h"
#include "zq/h5_attributes.h"
#include "zq/spectrum_change.h"
#include "zq/spectrum_file.h"

namespace zq {
namespace {

int last_number(const SpectrumFile& file, RecordKind kind) {
  return kind == RecordKind::information ? kInformationRecords : file.description().dim;
}

void check_number(const SpectrumFile& file, RecordKind kind, int number) {
  const int last = last_number(file, kind);
  if (number < 1 || number > last) {
    throw Error(ZQ_EBADRECORD, std::string(record_kind_name(kind)) + " record " +
                                   std::to_string(number) + " outside 1.." + std::to_string(last) +
                                   " for spectrum '" + file.name() + "'");
  }
}

std::string text_of(const SpectrumFile& file, const std::string& attribute) {
  std::optional<std::string> text = h5::read_text(file.file(), attribute.c_str());
  if (!text) {
    throw Error(ZQ_EDAMAGED,
                "record '" + attribute + "' of spectrum '" + file.name() + "' is not a text");
  }
  return *text;
}

std::string too_long(const std::string& name, RecordKind kind, int number, std::size_t length) {
  return std::string(record_kind_name(kind)) + " record " + std::to_string(number) +
         " of spectrum '" + name + "' has " + std::to_string(length) +
         " characters; at most 255 fit";
}

}  // namespace

const char* record_kind_name(RecordKind kind) {
  switch (kind) {
    case RecordKind::information:
      return "information";
    case RecordKind::annotation:
      return "annotation";
    case RecordKind::calibration:
      return "calibration";
    default:
      return "efficiency";
  }
}

std::string record_attribute(RecordKind kind, int number) {
  return std::string(record_kind_name(kind)) + "_" + std::to_string(number);
}

void read_record(std::string_view name, RecordKind kind, int number, char* buffer) {
  if (buffer == nullptr) throw Error(ZQ_EBADARG, "null record buffer");
  SpectrumFile file(name);
  check_number(file, kind, number);
  const std::string text = text_of(file, record_attribute(kind, number));
  if (text.size() > kMaxRecordLength) {
    throw Error(ZQ_ERECORDLONG, too_long(file.name(), kind, number, text.size()));
  }
  std::memcpy(buffer, text.c_str(), text.size() + 1);
  file.close();
}

void write_record(std::string_view name, RecordKind kind, int number, const char* text) {
  if (text == nullptr) throw Error(ZQ_EBADARG, "null record text");
  const std::size_t length = strnlen(text, kMaxRecordLength + 1);
  const auto check = [&](const SpectrumFile& file) {
    check_number(file, kind, number);
    if (length > kMaxRecordLength) {
      throw Error(ZQ_ERECORDLONG, too_long(file.name(), kind, number, std::strlen(text)));
    }
  };
  const auto change = [&](const SpectrumFile& file) {
    const std::string attribute = record_attribute(kind, number);
    if (length > 0) {
      h5::write_text(file.file(), attribute.c_str(), std::string_view(text, length));
    } else if (h5::has_attribute(file.file(), attribute.c_str())) {
      h5::delete_attribute(file.file(), attribute.c_str());
    }
  };
  change_spectrum(name, check, change);
}

void copy_records(const SpectrumFile& from, hid_t to) {
  for (RecordKind kind : {RecordKind::information, RecordKind::annotation, RecordKind::calibration,
                          RecordKind::efficiency}) {
    for (int number = 1; number <= last_number(from, kind); ++number) {
      const std::string attribute = record_attribute(kind, number);
      const std::string text = text_of(from, attribute);
      if (!text.empty()) h5::write_text(to, attribute.c_str(), text);
    }
  }
}

}  // namespace zq
