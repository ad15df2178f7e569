// Writes the simulation input of the Cu(001) example to standard output: an eight-layer slab
// of fcc copper, 100 keV protons at normal incidence, a blocking scan across the [101]
// direction, four top-layer relaxations and three top-layer vibration amplitudes.
#include <algorithm>
#include <cstdint>
#include <iostream>
#include <string>
#include <vector>

#include "textio/format_writer.h"

namespace {

using textio::Format;
using textio::Value;

constexpr float kLattice = 3.615f;    // Å, fcc copper at room temperature
constexpr float kBulkSigma = 0.077f;  // Å, rms per direction: Debye model, 343 K at 293 K
constexpr std::int32_t kLayers = 8;
constexpr std::int32_t kAtomsPerLayer = 2;  // the square a x a cell holds two atoms a layer
// Relaxations of the first interlayer spacing, Å (negative: contraction), and top-layer
// vibration amplitudes, Å (bulk and two enhancements).
const std::vector<float> kRelaxations = {-0.10f, -0.05f, 0.0f, 0.05f};
const std::vector<float> kTopSigmas = {0.077f, 0.10f, 0.125f};
constexpr float kFirstAngle = 120.0f;  // degrees: the [101] blocking dip lies at 135
constexpr float kAngleStep = 1.0f;
constexpr std::int32_t kAngles = 31;
constexpr float kFlux = 20000.0f;  // ions per Å^2, shadowing and per detection angle

// Trajectories are computed with each atom's own amplitude and re-weighted to the models'.
// The weights have finite variance only for model amplitudes up to sqrt(2) times the
// trajectory amplitude, so the top layer is tracked with the largest model amplitude.
float tracking_sigma(std::int32_t layer) {
  return layer == 1 ? *std::max_element(kTopSigmas.begin(), kTopSigmas.end()) : kBulkSigma;
}

void write(const char* format, const std::vector<Value>& values = {}) {
  std::cout << Format(format).write(values);
}

// Atom k (0 or 1) of layer L (1-based): layer 1 holds the cell corner and the face centre,
// layer 2 the two edge centres, and so on. Each sits on the starting edge of its cell of the
// 2 x 2 grid of half-lattice cells.
struct Site {
  float x, y, z;
  std::int32_t i, j;
};

Site site(std::int32_t layer, std::int32_t k) {
  const float half = kLattice / 2.0f;
  const float z = static_cast<float>(layer - 1) * half;
  const bool odd = layer % 2 == 1;
  if (odd) return k == 0 ? Site{0.0f, 0.0f, z, 1, 1} : Site{half, half, z, 2, 2};
  return k == 0 ? Site{half, 0.0f, z, 2, 1} : Site{0.0f, half, z, 1, 2};
}

void write_parameter(const char* name, const std::vector<float>& values,
                     const std::vector<Value>& choices) {
  write("(1X,A,I4)", {std::string_view(name), static_cast<std::int32_t>(values.size())});
  std::vector<Value> v(values.begin(), values.end());
  write("(8(1X,E9.3))", v);
  write("(1X,20I4)", choices);
}

void write_models() {
  const auto structures = static_cast<std::int32_t>(kRelaxations.size());
  const auto vibrations = static_cast<std::int32_t>(kTopSigmas.size());
  std::vector<Value> structure_choice, vibration_choice;
  for (std::int32_t s = 1; s <= structures; ++s) structure_choice.emplace_back(s);
  for (std::int32_t v = 1; v <= vibrations; ++v) vibration_choice.emplace_back(v);
  write_parameter("delta_d12", kRelaxations, structure_choice);
  write_parameter("sigma_top", kTopSigmas, vibration_choice);
  // A contraction moves the top layer down, to larger depth.
  for (float relaxation : kRelaxations)
    write("(1X,3F8.3,2X,3F8.3,2X,3F8.3)",
          {0.0f, 0.0f, 0.0f - relaxation, 0.0f, 0.0f, 0.0f - relaxation});
  for (float sigma : kTopSigmas) write("(1X,10F8.3)", {sigma, sigma});
}

}  // namespace

int main() {
  const std::int32_t atoms = kLayers * kAtomsPerLayer;
  const std::int32_t counts[19] = {atoms,
                                   1,
                                   2,
                                   2,
                                   kLayers,
                                   3,
                                   3,
                                   kLayers + 1,
                                   kAngles,
                                   static_cast<std::int32_t>(kRelaxations.size()),
                                   static_cast<std::int32_t>(kTopSigmas.size()),
                                   1,
                                   1,
                                   0,
                                   0,
                                   1,
                                   1,
                                   kAtomsPerLayer,
                                   kAtomsPerLayer};
  write("(1X,A)", {std::string_view("Cu(001) 8 layers, 100 keV H+ normal incidence, "
                                    "[101] blocking scan, d12 and top-layer vibration")});
  write("(1X,2I4)", {0, 0});
  write("(1X,8I2)", {0, 0, 0, 0, 0, 0, 0, 1});
  write("(1X,19I4)", std::vector<Value>(counts, counts + 19));
  write("(1X,I4,F8.3)", {29, 63.546f});
  write("(1X,I4,F8.3)", {1, 0.0f});
  write("(1X,2F8.3)", {0.0f, 0.0f});
  for (std::int32_t layer = 1; layer <= kLayers; ++layer)
    for (std::int32_t k = 0; k < kAtomsPerLayer; ++k) {
      const Site s = site(layer, k);
      write("(1X,3F8.3,3I4,3F8.3,I4)",
            {s.x, s.y, s.z, s.i, s.j, layer, tracking_sigma(layer), 0.0f, 0.0f, 1});
    }
  write("(1X,2F8.3)", {kLattice, kLattice});
  write("(1X,8F8.3)", {0.0f, kLattice / 2.0f});
  write("(1X,8F8.3)", {0.0f, kLattice / 2.0f});
  std::vector<Value> layer_edges;  // each layer starts a quarter lattice above its atoms
  for (std::int32_t layer = 1; layer <= kLayers; ++layer)
    layer_edges.emplace_back((static_cast<float>(layer) - 1.5f) * kLattice / 2.0f);
  write("(1X,8F8.3)", layer_edges);
  write("(1X,6F8.3)", {0.0f, 0.0f, kFirstAngle, kAngleStep, static_cast<float>(kAtomsPerLayer)});
  write("(1X,I4,2F9.3,1X,E9.3,1X,E9.3)", {1, 1.008f, 100.0f, kFlux, kFlux});
  write_models();
  write("(1X,I4)", {0});
  return 0;
}
