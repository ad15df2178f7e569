// Numbering and names of the result files, the per-file signals with clipping, and the
// range checks of the result tables.
#include <gtest/gtest.h>

#include "polysim/result_names.h"
#include "polysim/result_signals.h"
#include "polysim/status_file.h"
#include "result_cases.h"
#include "textio/fixed_text.h"

namespace {

using polysim::result_number;
using polysim::result_path;

TEST(ResultNames, PairsAreNumberedWithStructureModelsOutermost) {
  // N10 = 2, N11 = 3: files 0001..0006; 0004 is structure model 2 with vibration model 1.
  const struct {
    std::int32_t s, v, n;
  } cases[] = {{1, 1, 1}, {1, 2, 2}, {1, 3, 3}, {2, 1, 4}, {2, 2, 5}, {2, 3, 6}};
  for (const auto& c : cases) EXPECT_EQ(result_number(c.s, c.v, 3), c.n) << c.s << "," << c.v;
}

TEST(ResultNames, NumberReplacesTheRootFromTheNameColumn) {
  const struct {
    const char* root;
    std::int32_t n;
    const char* name;
  } cases[] = {
      {"run7", 1, "run7.0001"},
      {"run7.old", 3, "run7.0003"},
      {"out/run.v2", 42, "out/run.0042"},
      {".hidden", 9999, ".9999"},
      {"[dir.sub]run.x", 12, "[dir.sub]run.0012"},
  };
  for (const auto& c : cases) {
    const int p = polysim::build_status_path(c.root).name_column;
    const std::string path = result_path(c.root, p, c.n);
    EXPECT_EQ(path.size(), 80u);
    EXPECT_EQ(textio::trim_trailing(path), c.name) << c.root;
  }
}

TEST(ResultNames, ColumnsAfter57KeepTheRoot) {
  const std::string root = std::string(60, 'a') + "TAIL";
  const int p = polysim::build_status_path(root).name_column;  // the scan stops at 51
  EXPECT_EQ(p, 51);
  const std::string path = result_path(root, p, 7);
  EXPECT_EQ(path.substr(0, 50), std::string(50, 'a'));
  EXPECT_EQ(path.substr(50, 7), ".0007  ");
  EXPECT_EQ(path.substr(57, 7), "aaaTAIL");
}

TEST(ResultNames, NumbersAndColumnsOutsideTheirRangeAreRefused) {
  EXPECT_THROW(result_path("run", 4, 0), std::out_of_range);
  EXPECT_THROW(result_path("run", 4, 10000), std::out_of_range);
  EXPECT_THROW(result_path("run", 0, 1), std::out_of_range);
  EXPECT_THROW(result_path("run", 54, 1), std::out_of_range);
}

TEST(ResultSignals, SumsPerAngleLayerAndTypeInMonolayersWithClipping) {
  polysim_test::ResultCase c = polysim_test::small_case();
  // Pair (s 2, v 1), angle 2: atom 1 (layer 1, type 4) holds 12.5.
  const polysim::ResultSignals signals = polysim::compute_result_signals(
      c.input.crystal, c.input.beam.atoms_per_layer, c.results, 2, 1);
  EXPECT_EQ(signals.bad_count, 1);
  EXPECT_EQ(c.results.block_yield(1, 2, 1, 2), 12.5f);  // the results keep it
  const float y2 = 9.0f / 16.0f, y5 = 12.0f / 16.0f;    // atoms 2 and 5 at angle 2
  EXPECT_FLOAT_EQ(signals.element_at(4, 2), 9.999f / 2.0f);
  EXPECT_FLOAT_EQ(signals.layer_at(1, 2), (9.999f + y2 + y5) / 2.0f);
  EXPECT_FLOAT_EQ(signals.layer_at(3, 2), 0.0f);  // the empty layer
  EXPECT_FLOAT_EQ(signals.element_at(1, 2), 0.0f);
  float layers = 0.0f, elements = 0.0f;
  for (std::int32_t L = 1; L <= 3; ++L) layers += signals.layer_at(L, 2);
  for (std::int32_t t = 1; t <= 8; ++t) elements += signals.element_at(t, 2);
  EXPECT_FLOAT_EQ(signals.total_at(2), layers);
  EXPECT_FLOAT_EQ(signals.total_at(2), elements);
}

TEST(ResultSignals, CountIsPerFileAndTheCeilingItselfIsNoBadValue) {
  polysim_test::ResultCase c = polysim_test::small_case();
  const auto bad = [&](std::int32_t s, std::int32_t v) {
    return polysim::compute_result_signals(c.input.crystal, 2.0f, c.results, s, v).bad_count;
  };
  EXPECT_EQ(bad(1, 1), 0);
  EXPECT_EQ(bad(1, 2), 0);  // holds exactly 9.999
  EXPECT_EQ(bad(1, 3), 1);  // holds 10.0
  EXPECT_EQ(bad(2, 1), 1);
  EXPECT_EQ(bad(2, 1), 1);  // the results are not changed by counting
}

TEST(ResultSignals, AtomOutsideTheLayersIsRefused) {
  polysim_test::ResultCase c = polysim_test::small_case();
  c.input.crystal.atoms[2].layer = 4;
  EXPECT_THROW(polysim::compute_result_signals(c.input.crystal, 2.0f, c.results, 1, 1),
               std::out_of_range);
}

TEST(RunResults, IndicesOutsideTheTablesAreRefused) {
  polysim::RunResults results(5, 2, 3, 4);
  results.block_yield(3, 2, 5, 4) = 1.5f;
  EXPECT_EQ(results.block_yield(3, 2, 5, 4), 1.5f);
  EXPECT_EQ(results.block_yield(3, 2, 5, 3), 0.0f);
  EXPECT_THROW(results.block_yield(4, 1, 1, 1), std::out_of_range);
  EXPECT_THROW(results.block_yield(1, 3, 1, 1), std::out_of_range);
  EXPECT_THROW(results.block_yield(1, 1, 6, 1), std::out_of_range);
  EXPECT_THROW(results.block_yield(1, 1, 1, 0), std::out_of_range);
  EXPECT_THROW(results.hit_probability(0, 1, 1), std::out_of_range);
  EXPECT_THROW(polysim::RunResults(-1, 1, 1, 1), std::invalid_argument);
}

}  // namespace
