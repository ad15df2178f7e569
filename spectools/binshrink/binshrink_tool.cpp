// The squash run: every column of axis 2 summed in groups of channels, moved in blocks of
// columns.
#include "spectools/binshrink/binshrink_tool.h"

#include <cstdint>
#include <optional>
#include <span>
#include <string>

#include "spectools/binshrink/squash.h"
#include "spectools/frame/blocks.h"
#include "spectools/frame/calibration.h"
#include "spectools/frame/column_blocks.h"
#include "spectools/frame/failures.h"
#include "spectools/frame/numbers.h"
#include "spectools/frame/records.h"
#include "spectools/frame/shape.h"
#include "spectools/frame/start_up.h"
#include "spectools/frame/targets.h"
#include "spectools/frame/usage.h"

namespace spectools::binshrink {
namespace {

constexpr int kDefaultFactor = 2;
// The factor is read only from a command line of exactly this many words.
constexpr int kFactorArgc = 4;

int factor_of(int argc, const char* const* argv, const ToolUsage& usage) {
  if (argc != kFactorArgc) return kDefaultFactor;
  const int factor = integer_argument(argv[3], usage);
  if (factor < 1) crash("factor " + std::to_string(factor) + " is below 1");
  return factor;
}

void squash_columns(const Session& session, const Shape& shape, int factor, int channels) {
  const ColumnFill fill = [factor](int, std::span<const std::int32_t> column,
                                   std::span<std::int32_t> squashed) {
    squashColumn(column, squashed, factor);
  };
  transform_columns(session.fromspec, shape, session.tospec,
                    ColumnTarget{shape.bases[0], shape.bases[1], channels}, fill);
}

// Calibration record 2 keeps its offset; its slope grows by the factor.
std::string rescaled_record(RecordKind kind, int number, const std::string& text, int factor) {
  if (kind != RecordKind::calibration || number != 2) return text;
  std::optional<Calibration> calibration = parse_calibration(text);
  if (!calibration) return text;
  calibration->slope *= factor;
  return format_calibration(*calibration);
}

}  // namespace

std::string run(int argc, const char* const* argv) {
  const ToolUsage& usage = usage_of("binshrink");
  const Session session = start_up(argc, argv, usage);
  const int factor = factor_of(argc, argv, usage);
  refuse_source_as_target({session.fromspec}, session.tospec);

  const Shape shape = inquire_spectrum(session.fromspec);
  require_two_dimensional(shape);
  const int channels = squashed_channels(shape.ranges[1], factor);
  create_spectrum(session.tospec,
                  Block{2, {shape.bases[0], shape.bases[1]}, {shape.ranges[0], channels}}, shape);
  squash_columns(session, shape, factor, channels);

  RecordCopy copy;
  copy.edit = [factor](RecordKind kind, int number, const std::string& text) {
    return rescaled_record(kind, number, text, factor);
  };
  copy_records(session.fromspec, session.tospec, shape.dim, copy);
  return closing_message(usage, {session.fromspec, std::to_string(factor)});
}

}  // namespace spectools::binshrink
