// The three checks behind the method warnings: vibration models too wide for importance
// weights, shifts along the beam, and atoms whose cell borders an empty one within reach.
#include "polysim/method_warnings.h"

#include <cmath>
#include <cstdint>
#include <cstdio>

namespace polysim {

namespace {

// The weight of a model amplitude σv is the density ratio pv / pref of the partner's position,
// sampled with the reference amplitude σref; its second moment, the integral of pv^2 / pref,
// is finite only while 2 / σv^2 > 1 / σref^2, that is σv < sqrt(2) σref.
constexpr float kWidestModelRatio = 1.41421356f;

std::string angstrom(float value) {
  char text[32];
  std::snprintf(text, sizeof text, "%.3f", static_cast<double>(value));
  return text;
}

std::string atom_name(std::int32_t a) {
  return "  Warning: atom " + std::to_string(a);
}

void wide_vibration_models(const SimulationInput& input, std::vector<std::string>& out) {
  const engine::ModelSet& models = input.models;
  for (std::int32_t a = 1; a <= models.vibrated_atom_count; ++a) {
    const float reference = input.crystal.atoms[static_cast<std::size_t>(a - 1)].sigma;
    std::int32_t widest = 0;
    for (std::int32_t v = 1; v <= models.vibration_count; ++v)
      if (models.sigma(v, a) > kWidestModelRatio * reference &&
          (widest == 0 || models.sigma(v, a) > models.sigma(widest, a)))
        widest = v;
    if (widest == 0) continue;
    out.push_back(atom_name(a) + ", vibration model " + std::to_string(widest) + ": amplitude " +
                  angstrom(models.sigma(widest, a)) + " A exceeds sqrt(2) x reference " +
                  angstrom(reference) + " A: infinite-variance weights, no convergence with " +
                  "flux; make the largest amplitude the reference");
  }
}

void shifts_along_beam(const SimulationInput& input, std::vector<std::string>& out) {
  const engine::ModelSet& models = input.models;
  const engine::Beam& beam = input.beam;
  const float sin_polar = std::sin(beam.polar_angle);
  const float dx = sin_polar * std::cos(beam.azimuth);
  const float dy = sin_polar * std::sin(beam.azimuth);
  const float dz = std::cos(beam.polar_angle);
  for (std::int32_t a = 1; a <= models.displaced_atom_count; ++a) {
    std::int32_t largest = 0;
    float along_largest = 0.0f;
    for (std::int32_t s = 1; s <= models.structure_count; ++s) {
      const engine::Shift& shift = models.shift(s, a);
      const float along = std::fabs(shift.dx * dx + shift.dy * dy + shift.dz * dz);
      if (along > kLargestShiftAlongBeam && along > along_largest) {
        largest = s;
        along_largest = along;
      }
    }
    if (largest == 0) continue;
    out.push_back(atom_name(a) + ", structure model " + std::to_string(largest) + ": shift " +
                  angstrom(along_largest) + " A along the beam is re-weighted only across the " +
                  "beam; check with a direct run");
  }
}

// The cell grid along one lateral axis: edges B(1..n + 1), B(n + 1) the repeat distance.
struct Axis {
  const std::vector<float>& edges;
  std::int32_t count;
  float period;
  const char* name;
  bool along_x;

  // B(k) for k = 0..n + 1, B(0) = B(n) - period.
  float edge(std::int32_t k) const {
    return k < 1 ? edges[static_cast<std::size_t>(count - 1)] - period
                 : edges[static_cast<std::size_t>(k - 1)];
  }
  std::int32_t wrap(std::int32_t k) const { return k < 1 ? count : (k > count ? 1 : k); }
};

// An ion in cell m examines cells m and m + 1 of each lateral axis, so the atom of cell c is
// examined only between B(c - 1) and B(c + 1). Beyond an empty neighbouring cell no other atom
// takes its place as partner: within the interaction radius this loses encounters.
void empty_neighbours(const SimulationInput& input, const std::vector<float>& radii,
                      std::vector<std::string>& out) {
  const engine::Crystal& crystal = input.crystal;
  const Axis x{crystal.x_edges, crystal.cell_count_x, crystal.repeat_x, "x", true};
  const Axis y{crystal.y_edges, crystal.cell_count_y, crystal.repeat_y, "y", false};
  for (std::size_t n = 0; n < crystal.atoms.size(); ++n) {
    const engine::Atom& atom = crystal.atoms[n];
    const float radius = radii[static_cast<std::size_t>(atom.type - 1)];
    const struct {
      const Axis& axis;
      std::int32_t cell;
      float position;
    } sides[] = {{x, atom.cell_i, atom.x}, {y, atom.cell_j, atom.y}};
    for (const auto& side : sides) {
      if (side.axis.count < 2) continue;
      for (const std::int32_t step : {-1, 1}) {
        const std::int32_t next = side.axis.wrap(side.cell + step);
        const std::int32_t i = side.axis.along_x ? next : atom.cell_i;
        const std::int32_t j = side.axis.along_x ? atom.cell_j : next;
        if (crystal.cell(i, j, atom.layer) != 0) continue;
        const float distance = std::fabs(side.axis.edge(side.cell + step) - side.position);
        if (!(distance < radius)) continue;
        out.push_back(atom_name(static_cast<std::int32_t>(n + 1)) + " is " + angstrom(distance) +
                      " A from empty cell (" + std::to_string(i) + ", " + std::to_string(j) +
                      ", layer " + std::to_string(atom.layer) + "), within its interaction " +
                      "radius " + angstrom(radius) + " A: ions beyond that " + side.axis.name +
                      " column miss it");
      }
    }
  }
}

}  // namespace

std::vector<std::string> method_warnings(const SimulationInput& input,
                                         const std::vector<float>& radii) {
  std::vector<std::string> out;
  wide_vibration_models(input, out);
  shifts_along_beam(input, out);
  empty_neighbours(input, radii, out);
  return out;
}

}  // namespace polysim
