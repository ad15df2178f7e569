// The kinematic correction run: the beam's arguments, the checks that every column has an
// elastic solution, the lengthened energy axis, one rebinned column per angle channel (moved
// in blocks of columns).
#include "spectools/kinecorr/kinecorr_tool.h"

#include <cstdint>
#include <cstdio>
#include <optional>
#include <span>
#include <string>

#include "spectools/frame/blocks.h"
#include "spectools/frame/calibration.h"
#include "spectools/frame/column_blocks.h"
#include "spectools/frame/numbers.h"
#include "spectools/frame/records.h"
#include "spectools/frame/shape.h"
#include "spectools/frame/start_up.h"
#include "spectools/frame/targets.h"
#include "spectools/frame/usage.h"
#include "spectools/kinecorr/beam_checks.h"
#include "spectools/kinecorr/column_rebin.h"
#include "spectools/kinecorr/energy_axis.h"
#include "spectools/kinecorr/kinematics.h"

namespace spectools::kinecorr {
namespace {

// Offset and slope per axis from calibration records 1 and 2 (0 where a record is empty).
struct Scales {
  AxisScale angle;
  AxisScale energy;
};

std::string six_decimals(double value) {
  char text[64];
  std::snprintf(text, sizeof text, "%f", value);
  return text;
}

Beam beam_of(int argc, const char* const* argv, const ToolUsage& usage) {
  Beam beam;
  beam.energy = real_argument(argv[3], usage);
  beam.mass = real_argument(argv[4], usage);
  beam.target_mass = real_argument(argv[5], usage);
  if (argc > 6) beam.angle_offset = real_argument(argv[6], usage);
  return beam;
}

Scales scales_of(const Session& session, int dim) {
  Scales scales;
  for (int axis = 1; axis <= dim; ++axis) {
    std::string text;
    if (read_record(RecordKind::calibration, session.fromspec, axis, text) != 0) {
      session.readfailed();
    }
    const std::optional<Calibration> calibration = parse_calibration(text);
    if (!calibration) continue;
    AxisScale& scale = axis == 1 ? scales.angle : scales.energy;
    scale = {calibration->offset, calibration->slope};
  }
  return scales;
}

void correct_columns(const Session& session, const Shape& shape, const Beam& beam,
                     const Scales& scales, const EnergyAxis& axis) {
  const ColumnFill fill = [&](int column, std::span<const std::int32_t> counts,
                              std::span<std::int32_t> correct) {
    const double factor = kineCorr(beam.mass, beam.target_mass, angle_at(scales.angle, column));
    colCorrect(factor, counts, correct, scales.energy);
  };
  transform_columns(session.fromspec, shape, session.tospec,
                    ColumnTarget{shape.bases[0], axis.base, axis.range}, fill);
}

// Information record 3 notes a non-zero angle shift; calibration record 1 carries it.
std::string shifted_record(RecordKind kind, int number, const std::string& text,
                           double angle_offset) {
  if (kind == RecordKind::information && number == 3 && angle_offset != 0.0) {
    return text + " {Offset: \"" + six_decimals(angle_offset) + " deg\"}";
  }
  if (kind == RecordKind::calibration && number == 1) {
    std::optional<Calibration> calibration = parse_calibration(text);
    if (!calibration) return text;
    calibration->offset += angle_offset;
    return format_calibration(*calibration);
  }
  return text;
}

}  // namespace

std::string run(int argc, const char* const* argv) {
  const ToolUsage& usage = usage_of("kinecorr");
  const Session session = start_up(argc, argv, usage);
  const Beam beam = beam_of(argc, argv, usage);
  refuse_source_as_target({session.fromspec}, session.tospec);

  const Shape shape = inquire_spectrum(session.fromspec);
  require_two_dimensional(shape);
  Scales scales = scales_of(session, shape.dim);
  scales.angle.offset += beam.angle_offset;

  require_positive_masses(beam);
  require_elastic_solutions(beam, shape.bases[0], shape.ranges[0], scales.angle);
  const EnergyAxis axis = output_energy_axis({shape.bases[1], shape.ranges[1]}, scales.energy,
                                             beam.energy, session.fromspec.c_str());
  create_spectrum(session.tospec,
                  Block{2, {shape.bases[0], axis.base}, {shape.ranges[0], axis.range}}, shape);
  correct_columns(session, shape, beam, scales, axis);

  RecordCopy copy;
  copy.edit = [offset = beam.angle_offset](RecordKind kind, int number, const std::string& text) {
    return shifted_record(kind, number, text, offset);
  };
  copy_records(session.fromspec, session.tospec, shape.dim, copy);
  return closing_message(usage, {session.fromspec, session.tospec});
}

}  // namespace spectools::kinecorr
