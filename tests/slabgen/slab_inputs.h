// Crystal descriptions for the tests, and the polysim reading of what slabgen writes.
#pragma once

#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>

#include "polysim/input_reader.h"
#include "polysim/status_file.h"
#include "slabgen/generate.h"

namespace slabgen_test {

// A Cu crystal description; `extra` lines are appended (a later key does not replace an
// earlier one, so callers give what the base leaves out).
inline std::string copper(const std::string& face, const std::string& x, const std::string& extra,
                          const std::string& lattice = "fcc") {
  return "lattice = " + lattice + "\na = 3.615\nelement = Cu\nface = " + face + "\nx = " + x +
         "\nlayers = 6\nsigma = 0.08\nion = H\nenergy = 100\nflux = 10\n" + extra;
}

inline slabgen::Generated generate(const std::string& description,
                                   slabgen::Variant variant = slabgen::Variant::polysim) {
  return slabgen::generate(slabgen::Description::parse(description, "test.slab"), variant);
}

// The input as polysim reads it, with every check of its reader.
inline polysim::SimulationInput read_by_polysim(const std::string& input) {
  const std::filesystem::path dir =
      std::filesystem::temp_directory_path() / ("slabgen-test-" + std::to_string(::getpid()));
  std::filesystem::create_directories(dir);
  std::ofstream(dir / "slab.in") << input;
  std::ostringstream console;
  polysim::StatusFile status((dir / "slab.status").string(), console);
  polysim::SimulationInput read =
      polysim::read_simulation_input((dir / "slab.in").string(), status);
  std::filesystem::remove_all(dir);
  return read;
}

}  // namespace slabgen_test
