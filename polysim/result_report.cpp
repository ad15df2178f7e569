// The report of the run's input in a result file: blocking flux, file names, the parameters
// of the model pair, beam, potential, atom types, surface cell and overlayer.
#include <cmath>
#include <string>
#include <vector>

#include "engine/potential.h"
#include "polysim/report_formats.h"
#include "polysim/result_file.h"
#include "polysim/run_files.h"
#include "textio/fixed_text.h"
#include "textio/format_writer.h"

namespace polysim {

namespace {

using textio::Format;

const Format& blocking_heading() {
  static const Format format(
      "(/,/,/,/,/,/,' BLOCKING OUTPUT:',/,' ----------------',/,' ',E8.3,' ions/sq.angst. per "
      "detection angle.',/,/)");
  return format;
}
const Format& general_information() {
  static const Format format(
      "(' GENERAL INFORMATION:',/,' --------------------',/,' Inputfile :  ',A,/,' Outputfile:  "
      "',A,/,' Comment   :  ',A)");
  return format;
}
const Format& structure_model_line() {
  static const Format format("(' Structure model ',I3,', corresponding to:')");
  return format;
}
const Format& vibration_model_line() {
  static const Format format("(' Vibration model ',I3,', corresponding to:')");
  return format;
}
const Format& parameter_line() {
  static const Format format("(' - ',A,' = ',E9.3)");
  return format;
}
const Format& beam_parameters() {
  static const Format format(
      "(/,/,' BEAM PARAMETERS:',/,' ----------------',/,' Ions with atomic number',I2,' , atomic "
      "mass',F6.3,' and energy ',F6.1,' keV',/,' Flux = ',E8.3,' ions/square angstrom.')");
  return format;
}
const Format& overlayer() {
  static const Format format(
      "(/,' An amorphous overlayer, containing',E10.2,'atoms/cm2',' of type ',I1,' covers the "
      "substrate.',/,' Rms  deflection angle in overlayer = ',E10.2,'  degree')");
  return format;
}

// The value that `model` chooses from a parameter's list of candidate values.
float chosen_value(const ParameterDescription& param, std::int32_t model) {
  const std::int32_t choice = param.choice.at(static_cast<std::size_t>(model - 1));
  return param.values.at(static_cast<std::size_t>(choice - 1));
}

void write_parameters(std::ostream& out, const Format& heading,
                      const std::vector<ParameterDescription>& params, std::int32_t model) {
  if (params.empty()) return;
  out << heading.write({model});
  for (const ParameterDescription& param : params)
    out << parameter_line().write(
        {std::string_view(textio::fixed_width(param.name, 20)), chosen_value(param, model)});
}

void write_general_information(std::ostream& out, const ResultFileContext& file) {
  const std::string input_path = textio::fixed_width(file.input_path, kNameWidth);
  const std::string full_name = textio::fixed_width(file.full_name, kNameWidth);
  const std::string comment = textio::fixed_width(file.input.comment, kNameWidth);
  out << general_information().write(
      {std::string_view(input_path), std::string_view(full_name), std::string_view(comment)});
  out << seed_line().write({std::string_view(std::to_string(file.seed))});
  write_parameters(out, structure_model_line(), file.input.structure_params, file.structure_model);
  write_parameters(out, vibration_model_line(), file.input.vibration_params, file.vibration_model);
}

void write_beam(std::ostream& out, const ResultFileContext& file) {
  const engine::Beam& beam = file.input.beam;
  const engine::RunOptions& options = file.input.options;
  out << beam_parameters().write({beam.ion_z, beam.ion_mass, beam.ion_energy, beam.shadow_flux});
  out << start_positions().write(
      {std::string_view(options.start_mode == 0 ? "regular" : "random")});
  out << incidence().write({beam.polar_angle / file.deg_to_rad, beam.azimuth / file.deg_to_rad});
  out << potential_line().write({potential_name(options.potential_selector)});
  out << unconnected_legs().write();
}

// Rms deflection in the overlayer, degrees: the same value in every file of the run.
float overlayer_rms_deflection(const ResultFileContext& file) {
  const auto mean_square = static_cast<float>(file.results.overlayer_deflection_sum /
                                              static_cast<double>(file.results.total_ions));
  return std::sqrt(mean_square) / file.deg_to_rad;
}

void write_target(std::ostream& out, const ResultFileContext& file) {
  const engine::Crystal& crystal = file.input.crystal;
  out << target_heading().write();
  for (std::size_t t = 0; t < crystal.types.size(); ++t)
    out << type_line().write(
        {static_cast<std::int32_t>(t + 1), crystal.types[t].z, crystal.types[t].mass});
  out << surface_cell().write(
      {crystal.repeat_x, crystal.repeat_y, file.input.beam.atoms_per_layer});
  const engine::RunOptions& options = file.input.options;
  if (options.overlayer_flag == 1)
    out << overlayer().write(
        {options.overlayer_density, options.overlayer_type, overlayer_rms_deflection(file)});
}

}  // namespace

void write_run_report(std::ostream& out, const ResultFileContext& file) {
  out << blocking_heading().write({file.input.beam.block_flux});
  write_general_information(out, file);
  write_beam(out, file);
  write_target(out, file);
}

}  // namespace polysim
