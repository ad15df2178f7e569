// The record formats of a simulation input file as the fitter writes it.
#include "structfit/input_writer.h"

#include <vector>

#include "textio/format_writer.h"
#include "textio/free_writer.h"

namespace structfit {
namespace {

using Values = std::vector<textio::Value>;

template <typename Container>
Values values_of(const Container& items) {
  return Values(items.begin(), items.end());
}

void write_crystal(const BaseCrystal& c, std::ostream& out) {
  const textio::Format pair("(1X,I4,F8.3)");
  const textio::Format two_reals("(1X,2F8.3)");
  const textio::Format edges("(1X,8F8.3)");
  out << textio::format_record("(1X,A)", {c.title});
  out << textio::format_record("(1X,2I4)", values_of(c.unused_pair));
  out << textio::format_record("(1X,8I2)", values_of(c.flags));
  out << textio::format_record("(1X,19I4)", values_of(c.counts));
  for (const TypeRecord& type : c.types) out << pair.write({type.z, type.mass});
  out << pair.write({c.overlayer.z, c.overlayer.mass});
  out << two_reals.write(values_of(c.unused_reals));
  const textio::Format atom_format("(1X,3F8.3,3I4,3F8.3,I4)");
  for (const BaseAtom& a : c.atoms) {
    out << atom_format.write({a.position[0], a.position[1], a.position[2], a.cell[0], a.cell[1],
                              a.cell[2], a.amplitude[0], a.amplitude[1], a.amplitude[2], a.type});
  }
  out << two_reals.write(values_of(c.repeat));
  for (const std::vector<float>& list : c.edges) out << edges.write(values_of(list));
  out << textio::format_record("(1X,6F8.3)", values_of(c.geometry));
  out << textio::format_record("(1X,I4,2F9.3,1X,E9.3,1X,E9.3)",
                               {c.ion_z, c.beam[0], c.beam[1], c.beam[2], c.beam[3]});
}

void write_description(const ModelDescription& d, std::ostream& out) {
  out << textio::format_record("(1X,A,I4)", {d.name, static_cast<std::int32_t>(d.values.size())});
  out << textio::format_record("(8(1X,E9.3))", values_of(d.values));
  out << textio::format_record("(1X,20I4)", values_of(d.choices));
}

void write_models(const FitModels& m, std::ostream& out) {
  if (m.structure_param) write_description(*m.structure_param, out);
  if (m.vibration_param) write_description(*m.vibration_param, out);
  const textio::Format shift_format("(1X,3F8.3,2X,3F8.3,2X,3F8.3)");
  const auto atoms = static_cast<std::size_t>(m.displaced_count);
  for (std::size_t s = 0; s < static_cast<std::size_t>(m.structure_count); ++s) {
    Values shifts;
    for (std::size_t a = 0; a < atoms; ++a) {
      for (float d : m.shifts[s * atoms + a]) shifts.emplace_back(d);
    }
    out << shift_format.write(shifts);
  }
  const textio::Format sigma_format("(1X,10F8.3)");
  const auto vibrated = static_cast<std::size_t>(m.vibrated_count);
  for (std::size_t v = 0; v < static_cast<std::size_t>(m.vibration_count); ++v) {
    const auto first = m.sigmas.begin() + static_cast<std::ptrdiff_t>(v * vibrated);
    out << sigma_format.write(Values(first, first + static_cast<std::ptrdiff_t>(vibrated)));
  }
  out << textio::format_record("(1X,I4)", {std::int32_t{1}});
}

}  // namespace

void write_simulation_input(const BaseCrystal& crystal, const FitModels& models, std::ostream& out,
                            std::ostream& console) {
  write_crystal(crystal, out);
  console << (textio::FreeLine() << "Outputting multimodel parameters").str();
  write_models(models, out);
}

}  // namespace structfit
