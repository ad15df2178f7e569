// The sample slab of sample_input.h (or another input text), read and prepared as a run would.
#pragma once

#include <sstream>
#include <string>

#include "../engine/shared_tables.h"
#include "polysim/input_reader.h"
#include "polysim/prepare_models.h"
#include "polysim/status_file.h"
#include "sample_input.h"
#include "scratch_dir.h"

namespace polysim_test {

inline polysim::SimulationInput prepared_sample(const std::string& text = sample_input()) {
  ScratchDir dir;
  std::ostringstream console;
  polysim::StatusFile status((dir.path() / "run.status").string(), console);
  dir.write("in.dat", text);
  polysim::SimulationInput input =
      polysim::read_simulation_input((dir.path() / "in.dat").string(), status);
  polysim::prepare_models(input.crystal, input.models, input.beam, engine_test::fixed_tables());
  return input;
}

}  // namespace polysim_test
