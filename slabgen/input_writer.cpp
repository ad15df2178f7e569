// Writing a deck group by group under the reference layout of the simulation input.
#include "slabgen/input_writer.h"

#include <algorithm>

#include "textio/format_writer.h"

namespace slabgen {

namespace {

using textio::Value;

class Writer {
 public:
  Writer& operator()(const char* format, const std::vector<Value>& values = {}) {
    text_ += textio::format_record(format, values);
    return *this;
  }
  std::string text() const { return text_; }

 private:
  std::string text_;
};

std::vector<Value> values(const std::vector<float>& v) {
  return {v.begin(), v.end()};
}

std::vector<Value> counts(const Deck& d, bool models) {
  const auto atoms = static_cast<std::int32_t>(d.atoms.size());
  const auto types = static_cast<std::int32_t>(d.types.size());
  const auto nx = static_cast<std::int32_t>(d.x_edges.size());
  const auto ny = static_cast<std::int32_t>(d.y_edges.size());
  const auto nz = static_cast<std::int32_t>(d.z_edges.size());
  const auto sp = static_cast<std::int32_t>(d.structure_params.size());
  const auto vp = static_cast<std::int32_t>(d.vibration_params.size());
  if (!models)
    return {atoms, types, nx, ny, nz, nx + 1, ny + 1, nz + 1, d.angle_count, 1, 1,
            0,     0,     0,  0,  0,  0,      0,      0};
  return {atoms,
          types,
          nx,
          ny,
          nz,
          nx + 1,
          ny + 1,
          nz + 1,
          d.angle_count,
          d.structure_models,
          d.vibration_models,
          sp,
          vp,
          0,
          0,
          std::max<std::int32_t>(sp, 1),
          std::max<std::int32_t>(vp, 1),
          d.displaced_atoms,
          d.vibrated_atoms};
}

// Groups 1 to 7, the monosim variant differing in groups 3 and 7.
void head(Writer& w, const Deck& d, bool monosim) {
  w("(1X,A)", {std::string_view(d.comment)});
  w("(1X,2I4)", {0, 0});
  if (monosim)
    w("(1X,8I2)", {d.start_mode, 0, d.potential, 0, 0, d.correlated ? 1 : 0, 0, 0});
  else
    w("(1X,8I2)", {d.start_mode, 0, d.potential, 0, 0, 0, 0, 1});
  w("(1X,19I4)", counts(d, !monosim));
  for (const DeckType& t : d.types) w("(1X,I4,F8.3)", {t.z, t.mass});
  w("(1X,I4,F8.3)", {1, 0.0f});
  if (monosim)
    w("(1X,2F8.3)", {d.correlation_coefficient, d.correlation_distance});
  else
    w("(1X,2F8.3)", {0.0f, 0.0f});
}

// Groups 8 to 14.
void crystal_and_beam(Writer& w, const Deck& d, bool monosim) {
  for (const DeckAtom& a : d.atoms)
    w("(1X,3F8.3,3I4,3F8.3,I4)", {a.x, a.y, a.z, a.cell_i, a.cell_j, a.layer, a.sigma,
                                  monosim ? a.sigma : 0.0f, monosim ? a.sigma : 0.0f, a.type});
  w("(1X,2F8.3)", {d.repeat_x, d.repeat_y});
  w("(1X,8F8.3)", values(d.x_edges));
  w("(1X,8F8.3)", values(d.y_edges));
  w("(1X,8F8.3)", values(d.z_edges));
  w("(1X,6F8.3)", {d.azimuth, d.polar, d.first_angle, d.angle_step, d.atoms_per_layer});
  w("(1X,I4,2F9.3,1X,E9.3,1X,E9.3)",
    {d.ion_z, d.ion_mass, d.ion_energy, d.shadow_flux, d.block_flux});
}

void parameters(Writer& w, const std::vector<DeckParameter>& params) {
  for (const DeckParameter& p : params) {
    w("(1X,A,I4)", {std::string_view(p.name), static_cast<std::int32_t>(p.values.size())});
    w("(8(1X,E9.3))", values(p.values));
    w("(1X,20I4)", std::vector<Value>(p.choice.begin(), p.choice.end()));
  }
}

// Groups 15 to 19.
void models(Writer& w, const Deck& d) {
  parameters(w, d.structure_params);
  parameters(w, d.vibration_params);
  for (std::int32_t s = 0; s < d.structure_models; ++s) {
    std::vector<Value> shifts;
    for (std::int32_t a = 0; a < d.displaced_atoms; ++a)
      for (float v :
           {0.0f, 0.0f, d.depth_shift[static_cast<std::size_t>(s * d.displaced_atoms + a)]})
        shifts.emplace_back(v);
    w("(1X,3F8.3,2X,3F8.3,2X,3F8.3)", shifts);
  }
  for (std::int32_t v = 0; v < d.vibration_models; ++v) {
    const auto first = d.model_sigma.begin() + static_cast<std::ptrdiff_t>(v) * d.vibrated_atoms;
    w("(1X,10F8.3)", values(std::vector<float>(first, first + d.vibrated_atoms)));
  }
  w("(1X,I4)", {0});
}

}  // namespace

std::string polysim_input(const Deck& deck) {
  Writer w;
  head(w, deck, false);
  crystal_and_beam(w, deck, false);
  models(w, deck);
  return w.text();
}

std::string monosim_input(const Deck& deck) {
  Writer w;
  head(w, deck, true);
  crystal_and_beam(w, deck, true);
  return w.text();
}

}  // namespace slabgen
