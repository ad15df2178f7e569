// histtext: the non-empty information records, one line each, then one line per channel.
// The output file is opened before the source is looked at; a tool that stops later leaves
// it emptied or partly written.
#include "spectools/histtext/histtext.h"

#include <algorithm>
#include <cstdint>
#include <vector>

#include "spectools/frame/blocks.h"
#include "spectools/frame/failures.h"
#include "spectools/frame/records.h"
#include "spectools/frame/shape.h"
#include "spectools/frame/start_up.h"
#include "spectools/histtext/text_file.h"
#include "spectools/histtext/text_lines.h"
#include "zq/names.h"

namespace spectools::histtext {
namespace {

void write_information(const Session& session, TextFile& file) {
  for (int number = 1; number <= kInformationRecords; ++number) {
    std::string record;
    if (read_record(RecordKind::information, session.fromspec, number, record) != 0) {
      session.readfailed();
    }
    if (!record.empty()) file.write(record + "\n");
  }
}

// The calibration of axis 1, refused before anything is written when its values would not
// fit in single precision at the spectrum's first or last channel.
std::optional<TextCalibration> usable_calibration(const Session& session, const Shape& shape) {
  std::string record;
  if (read_record(RecordKind::calibration, session.fromspec, 1, record) != 0) {
    session.readfailed();
  }
  const std::optional<TextCalibration> calibration = text_calibration(record);
  const int first = shape.bases[0];
  const int last = first + std::max(shape.ranges[0], 1) - 1;
  if (calibration && !calibrated_values_finite(*calibration, first, last))
    crash("calibration 1 gives channel values beyond single precision: " +
          zq::escape_controls(session.fromspec));
  return calibration;
}

}  // namespace

std::string run(int argc, const char* const* argv) {
  const ToolUsage& usage = usage_of("histtext");
  const Session session = start_up(argc, argv, usage);
  TextFile file(session.tospec);
  const Shape shape = inquire_spectrum(session.fromspec);
  require_one_dimensional(shape);

  const std::optional<TextCalibration> calibration = usable_calibration(session, shape);
  write_information(session, file);
  const std::vector<std::int32_t> counts =
      read_block(session.fromspec, shape, whole_spectrum(shape));
  for (std::size_t index = 0; index < counts.size(); ++index) {
    file.write(channel_line(static_cast<int>(index), shape.bases[0], counts[index], calibration));
  }
  file.close();
  return closing_message(usage, {session.fromspec, session.tospec});
}

}  // namespace spectools::histtext
