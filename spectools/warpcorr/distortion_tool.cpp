// The straightening run: one strip read per output column, the window written whole.
#include "spectools/warpcorr/distortion_tool.h"

#include <cmath>
#include <cstdint>
#include <optional>
#include <vector>

#include "spectools/frame/blocks.h"
#include "spectools/frame/calibration.h"
#include "spectools/frame/failures.h"
#include "spectools/frame/records.h"
#include "spectools/frame/shape.h"
#include "spectools/frame/start_up.h"
#include "spectools/frame/targets.h"
#include "spectools/frame/usage.h"
#include "spectools/warpcorr/corrections_file.h"
#include "spectools/warpcorr/window.h"
#include "zq/names.h"

namespace spectools::distortion {
namespace {

constexpr int kCorrectionsArgument = 3;

// Each column starts at its own source row, so the strips are read one by one (a strip
// outside the source fails naming its own rows); the window is written in one block.
void straighten(const Session& session, const Shape& shape, const RowTables& tables,
                const Block& window) {
  std::vector<std::int32_t> counts(static_cast<std::size_t>(kWindowColumns) * kWindowRows);
  for (int column = 0; column < kWindowColumns; ++column) {
    const Block strip{2, {source_column(column), source_row(tables, column)}, {1, kWindowRows}};
    const std::vector<std::int32_t> read = read_block(session.fromspec, shape, strip);
    for (int row = 0; row < kWindowRows; ++row) {
      counts[static_cast<std::size_t>(row) * kWindowColumns + column] = read[row];
    }
  }
  write_block(session.tospec, window, counts);
}

// A window calibration whose centre lies beyond the range of reals has no value to write.
std::string window_text(const Calibration& window, int number, const std::string& source) {
  if (!std::isfinite(window.offset) || !std::isfinite(window.slope))
    crash("calibration " + std::to_string(number) +
          " puts the window centre beyond the range of reals: " + zq::escape_controls(source));
  return format_calibration(window);
}

// Calibration records 1 and 2 that parse are replaced by the window's; others are copied.
std::string window_record(RecordKind kind, int number, const std::string& text, int angle_channels,
                          const std::string& source) {
  if (kind != RecordKind::calibration) return text;
  const std::optional<Calibration> calibration = parse_calibration(text);
  if (!calibration) return text;
  if (number == 1) return window_text(angle_window(*calibration, angle_channels), 1, source);
  if (number == 2) return window_text(energy_window(*calibration, angle_channels), 2, source);
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

  const Shape shape = inquire_spectrum(session.fromspec);
  require_two_dimensional(shape);
  const Block window{2, {0, 0}, {kWindowColumns, kWindowRows}};
  create_spectrum(session.tospec, window, shape);
  straighten(session, shape, tables, window);

  RecordCopy copy;
  const int angle_channels = shape.ranges[0];
  copy.edit = [angle_channels, &session](RecordKind kind, int number, const std::string& text) {
    return window_record(kind, number, text, angle_channels, session.fromspec);
  };
  copy_records(session.fromspec, session.tospec, shape.dim, copy);
  return closing_message(usage, {session.fromspec, session.tospec});
}

}  // namespace spectools::distortion
