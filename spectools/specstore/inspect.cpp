// specstore list, info and record: looking at spectra and reading or setting records.
#include <array>
#include <string>
#include <string_view>

#include "spectools/frame/failures.h"
#include "spectools/frame/numbers.h"
#include "spectools/frame/records.h"
#include "spectools/frame/shape.h"
#include "spectools/frame/tool_exit.h"
#include "spectools/specstore/commands.h"
#include "zq/catalog.h"
#include "zq/types.h"

namespace specstore {

using spectools::RecordKind;

namespace {

struct KindName {
  RecordKind kind;
  std::string_view name;
};

constexpr std::array<KindName, 4> kKinds = {{{RecordKind::information, "information"},
                                             {RecordKind::annotation, "annotation"},
                                             {RecordKind::calibration, "calibration"},
                                             {RecordKind::efficiency, "efficiency"}}};

RecordKind kind_argument(std::string_view word) {
  for (const KindName& entry : kKinds) {
    if (entry.name == word) return entry.kind;
  }
  throw spectools::ToolExit(1, spectools::usage_output(kUsage));
}

std::string axis_list(const std::array<int, ZQ_MAX_DIM>& values, int dim) {
  std::string text;
  for (int axis = 0; axis < dim; ++axis) {
    text += ' ';
    text += std::to_string(values[axis]);
  }
  return text;
}

std::string records_text(const std::string& name, int dim) {
  std::string text;
  for (const KindName& entry : kKinds) {
    const int last = entry.kind == RecordKind::information ? spectools::kInformationRecords : dim;
    for (int number = 1; number <= last; ++number) {
      std::string record;
      if (spectools::read_record(entry.kind, name, number, record) != 0) {
        spectools::library_failed(name);
      }
      if (!record.empty()) {
        text += std::string(entry.name) + " " + std::to_string(number) + ": " + record + "\n";
      }
    }
  }
  return text;
}

}  // namespace

std::string list_command(const std::vector<std::string>&) {
  std::string text;
  for (const std::string& name : zq::list_spectra()) text += name + "\n";
  return text;
}

std::string info_command(const std::vector<std::string>& args) {
  const std::string& name = args[0];
  const spectools::Shape shape = spectools::inquire_spectrum(name);
  return "dim " + std::to_string(shape.dim) + "\nbases" + axis_list(shape.bases, shape.dim) +
         "\nranges" + axis_list(shape.ranges, shape.dim) + "\nlayout " +
         std::to_string(shape.layout) + "\ntype " + std::to_string(shape.type) + " (" +
         zq::type_name(shape.type) + ")\n" + records_text(name, shape.dim);
}

std::string record_command(const std::vector<std::string>& args) {
  const std::string& name = args[0];
  const RecordKind kind = kind_argument(args[1]);
  const int number = spectools::decimal_argument(args[2], kUsage);
  if (args.size() == 4) {
    if (spectools::write_record(kind, name, number, args[3]) != 0) spectools::library_failed(name);
    return "";
  }
  std::string text;
  if (spectools::read_record(kind, name, number, text) != 0) spectools::library_failed(name);
  return text + "\n";
}

}  // namespace specstore
