// The straightening run: one block read and one block write per output column.
#include "spectools/warpcorr/distortion_tool.h"

#include <cstdint>
#include <optional>
#include <vector>

#include "spectools/frame/calibration.h"
#include "spectools/frame/records.h"
#include "spectools/frame/shape.h"
#include "spectools/frame/start_up.h"
#include "spectools/frame/targets.h"
#include "spectools/frame/usage.h"
#include "spectools/warpcorr/corrections_file.h"
#include "spectools/warpcorr/window.h"
#include "zq/zq.h"

namespace spectools::distortion {
namespace {

constexpr int kCorrectionsArgument = 3;

void straighten(const Session& session, const RowTables& tables) {
  std::vector<std::int32_t> strip(kWindowRows);
  for (int column = 0; column < kWindowColumns; ++column) {
    if (ZQread2dSpectrum(session.fromspec.c_str(), source_column(column), 1,
                         source_row(tables, column), kWindowRows, strip.data(), kCountType) != 0) {
      session.readfailed();
    }
    if (ZQwrite2dSpectrum(session.tospec.c_str(), column, 1, 0, kWindowRows, strip.data(),
                          kCountType) != 0) {
      session.writefailed();
    }
  }
}

// Calibration records 1 and 2 that parse are replaced by the window's; others are copied.
std::string window_record(RecordKind kind, int number, const std::string& text,
                          int angle_channels) {
  if (kind != RecordKind::calibration) return text;
  const std::optional<Calibration> source = parse_calibration(text);
  if (!source) return text;
  if (number == 1) return format_calibration(angle_window(*source, angle_channels));
  if (number == 2) return format_calibration(energy_window(*source, angle_channels));
  return text;
}

}  // namespace

std::string run(std::string_view tool, int argc, const char* const* argv) {
  const ToolUsage& usage = usage_of(tool);
  const Session session = start_up(argc, argv, usage);
  RowTables tables = builtin_tables(tool);
  if (argc > kCorrectionsArgument) {
    read_corrections_file(argv[kCorrectionsArgument], tables.row_corrections);
  }
  refuse_source_as_target({session.fromspec}, session.tospec);

  Shape shape;
  if (inquire(session.fromspec, shape) != 0) session.readfailed();
  require_two_dimensional(shape);
  if (ZQcreate2dSpectrum(session.tospec.c_str(), 0, kWindowColumns, 0, kWindowRows, shape.layout,
                         shape.type) != 0) {
    session.writefailed();
  }
  straighten(session, tables);

  RecordCopy copy;
  const int angle_channels = shape.ranges[0];
  copy.edit = [angle_channels](RecordKind kind, int number, const std::string& text) {
    return window_record(kind, number, text, angle_channels);
  };
  copy_records(session.fromspec, session.tospec, shape.dim, copy);
  return closing_message(usage, {session.fromspec, session.tospec});
}

}  // namespace spectools::distortion
