// The two runs whose result files data/make_result_expected.f90 writes: the same values,
// computed in the same 32-bit steps, so the files must agree byte for byte.
#pragma once

#include <cmath>
#include <cstdint>
#include <string>
#include <vector>

#include "polysim/run_results.h"
#include "polysim/simulation_input.h"
#include "textio/fixed_text.h"

namespace polysim_test {

struct ResultCase {
  polysim::SimulationInput input;
  polysim::RunResults results;
  float deg_to_rad = 4.0f * std::atan(1.0f) * (1.0f / 180.0f);
};

struct AtomPlace {
  float x, y, z;
  std::int32_t i, j, layer;
  float sigma;
  std::int32_t type;
};

inline void set_counts(polysim::SimulationInput& in, std::int32_t atoms, std::int32_t types,
                       std::int32_t nx, std::int32_t ny, std::int32_t layers, std::int32_t angles,
                       std::int32_t structures, std::int32_t vibrations, std::int32_t displaced,
                       std::int32_t vibrated) {
  const std::int32_t counts[19] = {
      atoms,      types, nx, ny, layers, nx + 1, ny + 1, layers + 1, angles,  structures,
      vibrations, 0,     0,  0,  0,      0,      0,      displaced,  vibrated};
  for (int k = 1; k <= 19; ++k) in.dims.n(k) = counts[k - 1];
  in.crystal.cell_count_x = nx;
  in.crystal.cell_count_y = ny;
  in.crystal.layer_count = layers;
  in.crystal.cell_atom.assign(static_cast<std::size_t>(nx * ny * layers), 0);
  in.models.structure_count = structures;
  in.models.vibration_count = vibrations;
  in.models.displaced_atom_count = displaced;
  in.models.vibrated_atom_count = vibrated;
  in.models.structure_shift.assign(static_cast<std::size_t>(structures * displaced), {});
  in.models.vibration_sigma.assign(static_cast<std::size_t>(vibrations * vibrated), 0.0f);
  in.models.vibration_gauss_coeff.assign(in.models.vibration_sigma.size(), 0.0f);
}

inline void add_atom(polysim::SimulationInput& in, const AtomPlace& place) {
  engine::Atom atom;
  atom.x = place.x;
  atom.y = place.y;
  atom.z = place.z;
  atom.cell_i = place.i;
  atom.cell_j = place.j;
  atom.layer = place.layer;
  atom.sigma = place.sigma;
  atom.type = place.type;
  in.crystal.atoms.push_back(atom);
  in.crystal.cell(place.i, place.j, place.layer) =
      static_cast<std::int32_t>(in.crystal.atoms.size());
}

inline polysim::ParameterDescription parameter(const char* name, std::vector<float> values,
                                               std::vector<std::int32_t> choice) {
  return {textio::fixed_width(name, 20), std::move(values), std::move(choice)};
}

// Five atoms of eight types in a 2 x 2 x 3 grid with an empty third layer; two structure
// and three vibration models (files 0001..0006), parameter descriptions, an overlayer, and
// yields of 12.5 (file 0004), 10.0 (file 0003) and 9.999 (file 0002).
inline ResultCase small_case() {
  ResultCase c;
  polysim::SimulationInput& in = c.input;
  const float d2r = c.deg_to_rad;
  set_counts(in, 5, 8, 2, 2, 3, 3, 2, 3, 3, 2);
  in.comment = textio::fixed_width("Test slab for the result files", 80);
  in.options = {0, 1, 0, 2, 1.5e15f};
  for (std::int32_t t = 1; t <= 8; ++t)
    in.crystal.types.push_back({2 * t + 1, static_cast<float>(t) * 1.5f + 0.25f});
  add_atom(in, {1.25f, 0.5f, 0.0f, 2, 1, 1, 0.1f, 4});
  add_atom(in, {0.0f, 1.75f, 0.0f, 1, 2, 1, 0.1f, 5});
  add_atom(in, {0.0f, 0.0f, 1.8f, 1, 1, 2, 0.08f, 6});
  add_atom(in, {1.25f, 1.75f, 1.8f, 2, 2, 2, 0.09f, 8});
  add_atom(in, {0.0f, 0.0f, 0.0f, 1, 1, 1, 0.12f, 8});
  in.crystal.repeat_x = 2.5f;
  in.crystal.repeat_y = 3.5f;
  in.models.shift(2, 1) = {0.0f, 0.0f, -0.1f};
  in.models.shift(2, 2) = {0.05f, 0.0f, 0.0f};
  in.models.shift(2, 3) = {0.0f, -0.03f, 0.02f};
  const float sigma[3][2] = {{0.1f, 0.1f}, {0.15f, 0.1f}, {0.2f, 0.12f}};
  for (std::int32_t v = 1; v <= 3; ++v)
    for (std::int32_t a = 1; a <= 2; ++a) {
      const float s = sigma[v - 1][a - 1];
      in.models.sigma(v, a) = s;
      in.models.vibration_gauss_coeff[in.models.vibration_index(v, a)] = 125.0f / (2.0f * s * s);
    }
  in.beam = {45.0f * d2r, 5.0f * d2r, 0.5f * d2r, 2.0f,  {10.0f * d2r, 12.5f * d2r, 15.0f * d2r},
             1,           1.008f,     100.0f,     50.0f, 25.0f};
  in.structure_params = {parameter("top shift", {0.0f, -0.1f}, {1, 2})};
  in.vibration_params = {parameter("sigma top", {0.1f, 0.15f, 0.2f}, {1, 2, 3}),
                         parameter("sigma second", {0.1f, 0.12f}, {1, 1, 2})};
  in.dims.n(12) = 1;
  in.dims.n(13) = 2;
  c.results = polysim::RunResults(5, 2, 3, 3);
  for (std::int32_t a = 1; a <= 5; ++a)
    for (std::int32_t s = 1; s <= 2; ++s)
      for (std::int32_t v = 1; v <= 3; ++v) {
        c.results.hit_probability(v, s, a) = static_cast<float>(a + 3 * s + 7 * v) / 64.0f;
        for (std::int32_t j = 1; j <= 3; ++j)
          c.results.block_yield(v, s, a, j) = static_cast<float>(a + 2 * j + s + v) / 16.0f;
      }
  c.results.block_yield(1, 2, 1, 2) = 12.5f;
  c.results.block_yield(3, 1, 5, 1) = 10.0f;
  c.results.block_yield(2, 1, 2, 3) = 9.999f;
  c.results.overlayer_deflection_sum = 0.0123f;
  c.results.total_ions = 4321;
  return c;
}

// 230 atoms of one type in a 10 x 12 x 2 grid (the second layer partly filled), one model
// pair, no parameter descriptions, no overlayer, random starts, the universal potential.
inline ResultCase large_case() {
  ResultCase c;
  polysim::SimulationInput& in = c.input;
  const float d2r = c.deg_to_rad;
  set_counts(in, 230, 1, 10, 12, 2, 2, 1, 1, 0, 0);
  in.comment = std::string(80, ' ');
  in.options = {1, 0, 1, 1, 0.0f};
  in.crystal.types = {{29, 63.546f}};
  for (std::int32_t a = 1; a <= 230; ++a) {
    const std::int32_t i = (a - 1) % 10 + 1, j = (a - 1) / 10 % 12 + 1, layer = (a - 1) / 120 + 1;
    add_atom(in, {0.25f * static_cast<float>(i - 1), 0.25f * static_cast<float>(j - 1),
                  2.0f * static_cast<float>(layer - 1), i, j, layer, 0.125f, 1});
  }
  in.crystal.repeat_x = 2.5f;
  in.crystal.repeat_y = 3.0f;
  in.beam = {0.0f, 0.0f,   1.5f * d2r, 120.0f, {30.0f * d2r, 31.5f * d2r},
             2,    4.003f, 200.0f,     10.0f,  5.0f};
  c.results = polysim::RunResults(230, 1, 1, 2);
  for (std::int32_t a = 1; a <= 230; ++a) {
    c.results.hit_probability(1, 1, a) = static_cast<float>(a % 13) / 16.0f;
    for (std::int32_t j = 1; j <= 2; ++j)
      c.results.block_yield(1, 1, a, j) = static_cast<float>((7 * a + 3 * j) % 80) / 8.0f;
  }
  c.results.total_ions = 1000;
  return c;
}

}  // namespace polysim_test
