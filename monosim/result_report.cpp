// The report of the run in monosim's result file: blocking flux, flags and counts, general
// information, beam, potential, target, surface cell and correlation.
#include <cmath>
#include <string>
#include <vector>

#include "monosim/result_file.h"
#include "polysim/report_formats.h"
#include "polysim/run_files.h"
#include "textio/fixed_text.h"
#include "textio/format_writer.h"

namespace monosim {

namespace {

using textio::Format;

const Format& blocking_heading() {
  static const Format format(
      "(/,/,/,/,/,/,'BLOCKING OUTPUT:',/,20('-'),/,' ',E8.3,' ions/sq.angst. per detection "
      "angle.',/)");
  return format;
}
const Format& flags_line() {
  static const Format format("(1X,8I3)");
  return format;
}
const Format& counts_line() {
  static const Format format("(1X,19I4)");
  return format;
}
// The general information up to the comment; the run seed follows it on a line of its own
// (IONBEAM_SEED set to it repeats the run), then the beam parameters, which in the one format
// of the information followed the comment after two empty lines.
const Format& general_information() {
  static const Format format(
      "(1X,/,' GENERAL INFORMATION:',/,' --------------------',/,' Output from MONOSIM ',/,' "
      "Inputfile :  ',A,/,' Outputfile:  ',A,/,' Comment   :  ',A)");
  return format;
}
const Format& beam_parameters() {
  static const Format format(
      "(/,/,' BEAM PARAMETERS:',/,' ----------------',/,' Ions with atomic number',I2,/,' atomic "
      "mass',F6.3,' and energy ',F6.1,' keV',/,' Flux = ',E8.3,' ions/square angstrom.')");
  return format;
}
const Format& correlation_line() {
  static const Format format(
      "(/,' Atoms within a distance of ',F8.3,' vibrate with a',' correlation coefficient of "
      "',F4.2)");
  return format;
}

void write_flags_and_counts(std::ostream& out, const MonoInput& input) {
  std::vector<textio::Value> flags(input.flags.begin(), input.flags.end());
  out << flags_line().write(flags);
  std::vector<textio::Value> counts(input.record.counts.begin(), input.record.counts.end());
  out << counts_line().write(counts);
}

void write_general_information(std::ostream& out, const ResultContext& file) {
  const std::string input_path = textio::fixed_width(file.input_path, polysim::kNameWidth);
  const std::string output_path = textio::fixed_width(file.output_path, polysim::kNameWidth);
  const std::string comment =
      textio::fixed_width(file.prepared.input.base.comment, polysim::kNameWidth);
  out << general_information().write(
      {std::string_view(input_path), std::string_view(output_path), std::string_view(comment)});
  out << polysim::seed_line().write({std::string_view(std::to_string(file.seed))});
}

void write_beam(std::ostream& out, const ResultContext& file) {
  const MonoInput& input = file.prepared.input;
  const engine::Beam& beam = file.prepared.run.input.beam;
  out << beam_parameters().write({beam.ion_z, beam.ion_mass, beam.ion_energy, beam.shadow_flux});
  out << polysim::start_positions().write(
      {std::string_view(input.start_mode() == 0 ? "regular" : "random")});
  out << polysim::incidence().write(
      {beam.polar_angle / file.deg_to_rad, beam.azimuth / file.deg_to_rad});
  out << polysim::potential_line().write(
      {polysim::potential_name(input.base.options.potential_selector)});
  if (input.legs_unconnected()) out << polysim::unconnected_legs().write();
}

void write_target(std::ostream& out, const ResultContext& file) {
  const polysim::SimulationInput& base = file.prepared.run.input;
  out << polysim::target_heading().write();
  for (std::size_t t = 0; t < base.crystal.types.size(); ++t)
    out << polysim::type_line().write(
        {static_cast<std::int32_t>(t + 1), base.crystal.types[t].z, base.crystal.types[t].mass});
  out << polysim::surface_cell().write(
      {base.crystal.repeat_x, base.crystal.repeat_y, base.beam.atoms_per_layer});
  const Correlation& correlation = file.prepared.correlation;
  if (correlation.on)
    out << correlation_line().write({std::sqrt(correlation.distance2), correlation.coefficient});
}

}  // namespace

void write_run_report(std::ostream& out, const ResultContext& file) {
  out << blocking_heading().write({file.prepared.run.input.beam.block_flux});
  write_flags_and_counts(out, file.prepared.input);
  write_general_information(out, file);
  write_beam(out, file);
  write_target(out, file);
}

}  // namespace monosim
