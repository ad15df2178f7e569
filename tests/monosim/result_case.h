// The two runs whose result files data/make_result_expected.f90 writes: the same values,
// computed in the same 32-bit steps, so the files must agree byte for byte.
#pragma once

#include <array>
#include <cmath>
#include <cstdint>
#include <string>

#include "monosim/prepared_mono.h"
#include "monosim/simulate.h"
#include "textio/fixed_text.h"

namespace monosim_test {

struct ResultCase {
  monosim::PreparedMono prepared;
  monosim::MonoResults results;
  float deg_to_rad = 4.0f * std::atan(1.0f) * (1.0f / 180.0f);
};

inline ResultCase result_case(std::int32_t n1, std::int32_t n2, std::int32_t n3, std::int32_t n4,
                              std::int32_t n5, std::int32_t n9, std::array<std::int32_t, 8> flags,
                              float c, float distance) {
  ResultCase rc;
  monosim::MonoInput& mono = rc.prepared.input;
  mono.flags = flags;
  mono.correlation_coefficient = c;
  mono.correlation_distance = distance;
  const std::int32_t counts[19] = {n1, n2, n3, n4, n5, n3 + 1, n4 + 1, n5 + 1, n9, 2,
                                   3,  0,  0,  7,  7,  0,      0,      0,      0};
  for (int k = 1; k <= 19; ++k) mono.record.n(k) = counts[k - 1];
  mono.base.comment = textio::fixed_width(" Test slab for the monosim result file", 80);
  mono.base.options.potential_selector = flags[2];
  polysim::SimulationInput& in = rc.prepared.run.input;
  in.comment = mono.base.comment;
  const float d2r = rc.deg_to_rad;
  engine::Crystal& crystal = in.crystal;
  crystal.cell_count_x = n3;
  crystal.cell_count_y = n4;
  crystal.layer_count = n5;
  crystal.repeat_x = static_cast<float>(n3) * 0.75f;
  crystal.repeat_y = static_cast<float>(n4) * 0.5f;
  crystal.cell_atom.assign(static_cast<std::size_t>(n3 * n4 * n5), 0);
  for (std::int32_t t = 1; t <= n2; ++t)
    crystal.types.push_back({27 + t, 58.0f + static_cast<float>(t) * 1.5f});
  rc.results = monosim::MonoResults(n1, n9);
  for (std::int32_t a = 1; a <= n1; ++a) {
    const std::int32_t k = a - 1;
    engine::Atom atom;
    atom.cell_i = k % n3 + 1;
    atom.cell_j = (k / n3) % n4 + 1;
    atom.layer = k / (n3 * n4) + 1;
    atom.type = a % n2 + 1;
    atom.x = static_cast<float>(atom.cell_i - 1) * 0.75f;
    atom.y = static_cast<float>(atom.cell_j - 1) * 0.5f;
    atom.z = static_cast<float>(atom.layer - 1) * 1.8f;
    crystal.atoms.push_back(atom);
    crystal.cell(atom.cell_i, atom.cell_j, atom.layer) = a;
    mono.amplitudes.push_back({0.05f + static_cast<float>(a % 10) / 1000.0f,
                               0.06f + static_cast<float>(a % 7) / 1000.0f,
                               0.07f + static_cast<float>(a % 5) / 1000.0f});
    rc.results.hit_probability[static_cast<std::size_t>(k)] =
        static_cast<float>(a * 13 % 1100) / 1000.0f;
    for (std::int32_t j = 1; j <= n9; ++j)
      rc.results.yield_at(a, j) = static_cast<float>((a * 37 + j * 11) % 2000) / 1000.0f;
  }
  engine::Beam& beam = in.beam;
  beam.atoms_per_layer = 2.0f;
  const float first = 120.0f * d2r, step = 1.5f * d2r;
  for (std::int32_t j = 0; j < n9; ++j)
    beam.detection_angles.push_back(first + static_cast<float>(j) * step);
  beam.polar_angle = 12.5f * d2r;
  beam.azimuth = 33.0f * d2r;
  beam.ion_z = 2;
  beam.ion_mass = 4.0026f;
  beam.ion_energy = 150.0f;
  beam.shadow_flux = 30000.0f;
  beam.block_flux = 25000.0f;
  rc.prepared.correlation = monosim::derive_correlation(mono);
  return rc;
}

inline ResultCase correlated_case() {
  return result_case(103, 3, 5, 6, 5, 7, {1, 0, 1, 0, 0, 1, 0, 0}, 0.35f, 2.6f);
}
inline ResultCase plain_case() {
  return result_case(4, 1, 2, 1, 2, 3, {0, 0, 0, 3, 5, 0, 0, 0}, 0.0f, 0.0f);
}

}  // namespace monosim_test
