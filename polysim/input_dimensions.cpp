// The dimension record (group 4): its counts checked against each other, against the size of
// the input file and against memory. The tables they size are created later, as their values
// are read, so a file that ends early never allocates them.
#include <string>

#include "polysim/input_checks.h"
#include "polysim/input_groups.h"

namespace polysim {

namespace {

void set_counts(const DimensionRecord& d, engine::Crystal& crystal, engine::ModelSet& models) {
  crystal.cell_count_x = d.n(3);
  crystal.cell_count_y = d.n(4);
  crystal.layer_count = d.n(5);
  models.structure_count = d.n(10);
  models.vibration_count = d.n(11);
  models.displaced_atom_count = d.n(18);
  models.vibrated_atom_count = d.n(19);
}

}  // namespace

void read_dimension_record(textio::FreeReader& in, SimulationInput& input,
                           const InputLimits& limits) {
  in.begin();
  for (int k = 1; k <= 19; ++k)
    in.read(input.dims.n(k), "dimension record count N" + std::to_string(k));
  check_dimension_record(input.dims);
  if (limits.file_bytes) check_file_capacity(input.dims, *limits.file_bytes);
  check_table_memory(input.dims, limits.available_bytes);
  set_counts(input.dims, input.crystal, input.models);
}

}  // namespace polysim
