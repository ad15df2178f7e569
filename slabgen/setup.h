// Everything a description file says, checked and typed: the crystal, its vibrations, the
// beam, the detection scan, the run options and the model scans.
#pragma once

#include <optional>
#include <string>
#include <vector>

#include "slabgen/description.h"
#include "slabgen/lattice.h"
#include "slabgen/slab.h"

namespace slabgen {

struct Species {
  std::string symbol;
  int z = 0;
  double mass = 0;           // amu
  double sigma = 0;          // Å, rms per direction
  std::string sigma_source;  // how sigma was found, for the report
};

struct BeamSetup {
  Species ion;                    // sigma unused
  double energy = 0;              // keV
  std::optional<Vec3> along;      // [uvw] of the beam
  std::optional<double> polar;    // degrees from the surface normal
  std::optional<double> azimuth;  // degrees from x
};

struct ScanSetup {
  std::optional<Vec3> across;  // [uvw] the scan is centred on
  double first = 0;            // degrees (scattering angle), when not `across`
  double step = 0;
  int count = 0;
};

// Changes (Å) of the spacing between layers `layer` and `layer` + 1.
struct RelaxationScan {
  int layer = 0;
  std::vector<double> changes;
};

// Rms amplitudes (Å) of the atoms of one layer.
struct VibrationScan {
  int layer = 0;
  std::vector<double> sigmas;
};

struct SlabSetup {
  std::string comment;
  Lattice lattice;
  SlabRequest request;
  std::vector<Species> sublattice_species;  // one per sublattice of the lattice
  BeamSetup beam;
  ScanSetup scan;
  double shadow_flux = 0, block_flux = 0;  // ions per Å^2
  int potential = 0;                       // 0 Moliere, 1 universal, 2 bare Coulomb
  int start_mode = 0;                      // 0 regular grid, 1 random
  std::optional<double> atoms_per_layer;
  std::vector<RelaxationScan> relaxations;
  std::vector<VibrationScan> vibrations;
  std::optional<double> correlation_coefficient, correlation_distance;  // monosim only
};

// Throws DescriptionError naming the line of the first value that is missing, does not read
// or lies outside its range.
SlabSetup read_setup(const Description& description);

}  // namespace slabgen
