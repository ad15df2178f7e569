// The dimension record (group 4) and the tables it sizes.
#include <new>
#include <stdexcept>
#include <string>

#include "polysim/input_checks.h"
#include "polysim/input_groups.h"

namespace polysim {

namespace {

std::size_t size(std::int32_t count) {
  return static_cast<std::size_t>(count);
}

std::size_t product(std::int32_t a, std::int32_t b) {
  return size(a) * size(b);
}

void create_crystal_tables(const DimensionRecord& d, engine::Crystal& crystal) {
  crystal.atoms.assign(size(d.n(1)), engine::Atom{});
  crystal.types.assign(size(d.n(2)), engine::AtomType{});
  crystal.cell_count_x = d.n(3);
  crystal.cell_count_y = d.n(4);
  crystal.layer_count = d.n(5);
  crystal.x_edges.assign(size(d.n(6)), 0.0f);
  crystal.y_edges.assign(size(d.n(7)), 0.0f);
  crystal.z_edges.assign(size(d.n(8)), 0.0f);
  crystal.cell_atom.assign(product(d.n(3), d.n(4)) * size(d.n(5)), 0);
}

void create_model_tables(const DimensionRecord& d, engine::ModelSet& models) {
  models.structure_count = d.n(10);
  models.vibration_count = d.n(11);
  models.displaced_atom_count = d.n(18);
  models.vibrated_atom_count = d.n(19);
  models.structure_shift.assign(product(d.n(10), d.n(18)), engine::Shift{});
  models.vibration_sigma.assign(product(d.n(11), d.n(19)), 0.0f);
}

}  // namespace

void read_dimension_record(textio::FreeReader& in, SimulationInput& input, double available_bytes) {
  in.begin();
  for (int k = 1; k <= 19; ++k)
    in.read(input.dims.n(k), "dimension record count N" + std::to_string(k));
  check_dimension_record(input.dims);
  check_table_memory(input.dims, available_bytes);
  try {
    create_crystal_tables(input.dims, input.crystal);
    create_model_tables(input.dims, input.models);
    input.beam.detection_angles.assign(size(input.dims.n(9)), 0.0f);
    input.structure_params.assign(size(input.dims.n(12)), ParameterDescription{});
    input.vibration_params.assign(size(input.dims.n(13)), ParameterDescription{});
  } catch (const std::bad_alloc&) {
    throw InvalidInput("Dimension record: the tables for these counts do not fit in memory");
  } catch (const std::length_error&) {
    throw InvalidInput("Dimension record: the tables for these counts do not fit in memory");
  }
}

}  // namespace polysim
