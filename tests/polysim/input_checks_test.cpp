// Counts and indices that would reach outside a table are refused with one clear line.
#include <gtest/gtest.h>

#include "polysim/input_checks.h"
#include "read_refusal.h"
#include "sample_input.h"

namespace {

// The sample's dimension record: N1..N19.
const std::int32_t kSampleCounts[19] = {4, 2, 2, 1, 2, 3, 2, 3, 5, 2, 3, 1, 1, 7, 7, 2, 1, 2, 3};

polysim::DimensionRecord sample_dims() {
  polysim::DimensionRecord dims;
  for (int k = 1; k <= 19; ++k) dims.n(k) = kSampleCounts[k - 1];
  return dims;
}

struct DimsCase {
  int count;
  std::int32_t value;
  const char* message;
};

TEST(InputChecks, DimensionRecordTable) {
  const DimsCase cases[] = {
      {6, 4, "Dimension record: x_edge_count N6 = 4, must be cell_count_x N3 + 1 = 3"},
      {7, 1, "Dimension record: y_edge_count N7 = 1, must be cell_count_y N4 + 1 = 2"},
      {8, 2, "Dimension record: z_edge_count N8 = 2, must be layer_count N5 + 1 = 3"},
      {9, 0, "Dimension record: angle_count N9 = 0, must be at least 1"},
      {10, 0, "Dimension record: structure_model_count N10 = 0, must be at least 1"},
      {11, -2, "Dimension record: vibration_model_count N11 = -2, must be at least 0"},
      {1, -1, "Dimension record: atom_count N1 = -1, must be at least 0"},
      {16, 0,
       "Dimension record: structure_param_capacity N16 = 0, must be at least "
       "structure_param_count N12 = 1"},
      {17, 0,
       "Dimension record: vibration_param_capacity N17 = 0, must be at least "
       "vibration_param_count N13 = 1"},
      {18, 5, "Dimension record: displaced_atom_count N18 = 5, must be at most atom_count N1 = 4"},
      {19, 5,
       "Dimension record: model_vibrated_atom_count N19 = 5, must be at most atom_count "
       "N1 = 4"},
      {3, 2147483647,
       "Dimension record: x_edge_count N6 = 3, must be cell_count_x N3 + 1 = "
       "2147483648"},
  };
  for (const DimsCase& c : cases) {
    polysim::DimensionRecord dims = sample_dims();
    dims.n(c.count) = c.value;
    try {
      polysim::check_dimension_record(dims);
      ADD_FAILURE() << "accepted N" << c.count << " = " << c.value;
    } catch (const polysim::InvalidInput& error) {
      EXPECT_STREQ(error.what(), c.message);
    }
  }
  EXPECT_NO_THROW(polysim::check_dimension_record(sample_dims()));
}

TEST(InputChecks, AtMost9999ModelPairs) {
  polysim::DimensionRecord dims = sample_dims();
  dims.n(10) = 101;
  dims.n(11) = 99;
  EXPECT_NO_THROW(polysim::check_dimension_record(dims));
  dims.n(11) = 100;
  EXPECT_THROW(polysim::check_dimension_record(dims), polysim::InvalidInput);
}

TEST(InputChecks, TablesBeyondMemoryAreRefused) {
  polysim::DimensionRecord dims = sample_dims();
  EXPECT_NO_THROW(polysim::check_table_memory(dims, 1.0e9));
  dims.n(1) = dims.n(18) = dims.n(19) = 2000000000;
  dims.n(9) = 1000;
  EXPECT_THROW(polysim::check_table_memory(dims, polysim::physical_memory_bytes()),
               polysim::InvalidInput);
}

TEST(InputChecks, AtomIndicesWithinTheGrid) {
  const polysim::DimensionRecord dims = sample_dims();
  engine::Atom atom;
  atom.cell_i = 2;
  atom.cell_j = 1;
  atom.layer = 2;
  atom.type = 2;
  EXPECT_NO_THROW(polysim::check_atom(atom, 3, dims));
  atom.cell_j = 2;
  try {
    polysim::check_atom(atom, 3, dims);
    FAIL();
  } catch (const polysim::InvalidInput& error) {
    EXPECT_STREQ(error.what(), "Atom 3: atom_cell_j = 2, must be within 1..1");
  }
  atom.cell_j = 1;
  atom.type = 0;
  EXPECT_THROW(polysim::check_atom(atom, 3, dims), polysim::InvalidInput);
}

struct FileCase {
  const char* from;
  const char* to;
  const char* message;
};

// Each failure, read from a whole file, ends in the abort block on status and console.
TEST(InputChecks, ViolationsInTheFileAbortTheJob) {
  const FileCase cases[] = {
      {" 4 2 2 1 2 3 2 3 5 2 3 1 1 7 7 2 1 2 3", " 4 2 2 1 2 3 2 3 5 2 3 1 1 7 7 2 1 2 9",
       "Dimension record: model_vibrated_atom_count N19 = 9, must be at most atom_count N1 = 4"},
      {" 2 1.5E15", " 3 1.5E15", "overlayer_type = 3, must be within 1..2"},
      {" 1.8 0.0 0.0 2 1 1 0.1 9.0 9.0 2", " 1.8 0.0 0.0 3 1 1 0.1 9.0 9.0 2",
       "Atom 2: atom_cell_i = 3, must be within 1..2"},
      {" 'top shift' 2", " 'top shift' 3",
       "structure parameter 1: value count = 3, must be within 1..2"},
      {" 0.1 0.15 0.2\n 1 2 3", " 0.1 0.15 0.2\n 1 4 3",
       "vibration parameter 1, model 2: choice = 4, must be within 1..3"},
  };
  for (const FileCase& c : cases)
    EXPECT_EQ(polysim_test::read_refusal(polysim_test::sample_with(c.from, c.to)), c.message)
        << c.to;
}

}  // namespace
