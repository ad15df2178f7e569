// The squash run: one column read, summed and written per channel of axis 1.
#include "spectools/binshrink/binshrink_tool.h"

#include <cstdint>
#include <optional>
#include <vector>

#include "spectools/binshrink/squash.h"
#include "spectools/frame/calibration.h"
#include "spectools/frame/failures.h"
#include "spectools/frame/numbers.h"
#include "spectools/frame/records.h"
#include "spectools/frame/shape.h"
#include "spectools/frame/start_up.h"
#include "spectools/frame/targets.h"
#include "spectools/frame/usage.h"
#include "zq/zq.h"

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
  std::vector<std::int32_t> column(static_cast<std::size_t>(shape.ranges[1]));
  std::vector<std::int32_t> squashed(static_cast<std::size_t>(channels));
  for (int k = 0; k < shape.ranges[0]; ++k) {
    const int i = shape.bases[0] + k;
    if (ZQread2dSpectrum(session.fromspec.c_str(), i, 1, shape.bases[1], shape.ranges[1],
                         column.data(), kCountType) != 0) {
      session.readfailed();
    }
    squashColumn(column, squashed, factor);
    if (ZQwrite2dSpectrum(session.tospec.c_str(), i, 1, shape.bases[1], channels, squashed.data(),
                          kCountType) != 0) {
      session.writefailed();
    }
  }
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

  Shape shape;
  if (inquire(session.fromspec, shape) != 0) session.readfailed();
  require_two_dimensional(shape);
  const int channels = squashed_channels(shape.ranges[1], factor);
  if (ZQcreate2dSpectrum(session.tospec.c_str(), shape.bases[0], shape.ranges[0], shape.bases[1],
                         channels, shape.layout, shape.type) != 0) {
    session.writefailed();
  }
  squash_columns(session, shape, factor, channels);

  RecordCopy copy;
  copy.edit = [factor](RecordKind kind, int number, const std::string& text) {
    return rescaled_record(kind, number, text, factor);
  };
  copy_records(session.fromspec, session.tospec, shape.dim, copy);
  return closing_message(usage, {session.fromspec, std::to_string(factor)});
}

}  // namespace spectools::binshrink
