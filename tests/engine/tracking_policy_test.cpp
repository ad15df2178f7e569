// The tracking seam seen from a policy: a policy that logs what the walk shows it sees every
// atom of every block the walk examines, in the walk's order and image, once per search;
// partners and ion starts reach it as they happen, and with the displacements of the
// multi-model policy it leaves the trajectories as they are.
#include <gtest/gtest.h>

#include <cstdint>
#include <utility>
#include <vector>

#include "engine/beam_setup.h"
#include "engine/cell_lookup.h"
#include "engine/ion_launch.h"
#include "engine/partner.h"
#include "engine/thermal_displacement.h"
#include "engine/tracking_context.h"
#include "engine/tracking_policy.h"
#include "engine/walk.h"
#include "tracking_case.h"

namespace {

using engine_test::kDegree;
using engine_test::TrackingCase;

struct Seen {
  std::int32_t atom = 0;
  float x = 0.0f, y = 0.0f, z = 0.0f;  // ion relative to the site, Å
  bool operator==(const Seen&) const = default;
};

struct Search {
  std::vector<Seen> expected;  // the occupied cells of the block at the start of the search
  std::vector<Seen> seen;      // what examine was shown
  std::int32_t partner = 0;
};

struct Log {
  std::vector<Search> searches;
  std::int64_t ions = 0;
  std::int64_t wrong_memory = 0;  // partner hooks that found the ion memory of another ion
};

// Indices into the lookup's x, y and layer views of the cells a step examines: Z mode
// x-cells kx - 1, kx, y-cells ky - 1, ky, layer L; X mode x-cell kx and layers L - 1, L; Y mode
// y-cell ky and layers L - 1, L; those outside the views left out.
struct Indices {
  std::vector<std::int32_t> x, y, layers;
};

std::vector<std::int32_t> within(std::vector<std::int32_t> wanted, std::size_t size) {
  std::erase_if(wanted,
                [size](std::int32_t i) { return i < 0 || i >= static_cast<std::int32_t>(size); });
  return wanted;
}

Indices block_indices(engine::WalkMode mode, const engine::IonState& ion,
                      const engine::CellLookup& cells) {
  using engine::WalkMode;
  const std::int32_t kx = ion.kx, ky = ion.ky, l = ion.layer - 1;  // layer L at index L - 1
  return {
      within(mode == WalkMode::kX ? std::vector{kx} : std::vector{kx - 1, kx}, cells.x.size()),
      within(mode == WalkMode::kY ? std::vector{ky} : std::vector{ky - 1, ky}, cells.y.size()),
      within(mode == WalkMode::kZ ? std::vector{l} : std::vector{l - 1, l}, cells.layer.size())};
}

// Displaces as the multi-model run does; counts every examination per atom in its tally and
// logs each search with the block the walk should show at that point. It writes to the log,
// so it runs on one thread.
class CandidateLog {
 public:
  using Tally = std::vector<std::int64_t>;  // examinations per atom (index a - 1)
  struct IonMemory {
    std::int64_t ion = -1;
  };
  using Deviates = engine::SearchDisplacement;

  CandidateLog(const engine::TrackingContext& context, Log& log) : context_(context), log_(log) {}

  std::int32_t weight_count() const { return 1; }
  void start_ion(IonMemory& memory) const { memory.ion = log_.ions++; }
  Deviates start_search(const engine::IonState& ion, engine::IonStream& stream) const {
    Search search;
    const engine::CellLookup& cells = context_.cells;
    const Indices block = block_indices(engine::choose_walk_mode(ion.direction), ion, cells);
    for (const std::int32_t i : block.x)
      for (const std::int32_t j : block.y)
        for (const std::int32_t l : block.layers) {
          const engine::CellView& xc = cells.x[static_cast<std::size_t>(i)];
          const engine::CellView& yc = cells.y[static_cast<std::size_t>(j)];
          const std::size_t cell = xc.offset + yc.offset + cells.layer[static_cast<std::size_t>(l)];
          const std::int32_t a = context_.crystal.cell_atom[cell];
          if (a == 0) continue;
          const engine::Atom& atom = context_.crystal.atoms[static_cast<std::size_t>(a - 1)];
          search.expected.push_back(
              {a, ion.x + xc.shift - atom.x, ion.y + yc.shift - atom.y, ion.z - atom.z});
        }
    log_.searches.push_back(search);
    return engine::SearchDisplacement(context_.fixed, stream);
  }
  engine::Displacement examine(const engine::IonState&, const engine::Candidate& candidate,
                               const Deviates& deviates, const IonMemory&, Tally& tally) const {
    const engine::Relative& r = candidate.rel;
    log_.searches.back().seen.push_back({candidate.number, r.x, r.y, r.z});
    ++tally[static_cast<std::size_t>(candidate.number - 1)];
    return deviates.of(candidate.atom->sigma);
  }
  void account_partner(engine::IonState&, const engine::Partner& partner, const Deviates&,
                       IonMemory& memory, Tally&) const {
    log_.searches.back().partner = partner.atom;
    if (memory.ion != log_.ions - 1) ++log_.wrong_memory;
  }
  Tally empty_tally(const Tally& like) const { return Tally(like.size(), 0); }
  void take(Tally& total, Tally& part) const {
    for (std::size_t a = 0; a < part.size(); ++a) total[a] += std::exchange(part[a], 0);
  }

 private:
  const engine::TrackingContext& context_;
  Log& log_;
};

static_assert(engine::TrackingPolicy<CandidateLog>);

// 2 x 2 cells of 1.5 Å in three layers with two cells left empty.
TrackingCase gappy_slab() {
  TrackingCase k(3.0f, 3.0f, {0.0f, 1.5f}, {0.0f, 1.5f}, {-0.5f, 1.0f, 2.5f});
  k.add_atom(0.0f, 0.0f, 0.0f, 1, 1, 1, 0.09f);
  k.add_atom(1.5f, 1.5f, 0.0f, 2, 2, 1, 0.1f);
  k.add_atom(1.5f, 0.0f, 1.5f, 2, 1, 2, 0.08f);
  k.add_atom(0.0f, 0.0f, 3.0f, 1, 1, 3, 0.07f);
  k.add_atom(1.5f, 1.5f, 3.0f, 2, 2, 3, 0.07f);
  k.add_atom(0.0f, 1.5f, 0.2f, 1, 2, 1, 0.09f);
  k.derive();
  k.set_tables(120.0f * kDegree, 0.1f * kDegree);
  return k;
}

TEST(TrackingPolicy, SeesEveryCandidateOfEveryBlockTheWalkExamines) {
  const struct {
    const char* what;
    float polar, azimuth;  // degrees
    bool blocking;
  } cases[] = {
      {"Z mode", 5.0f, 10.0f, false},
      {"X mode", 80.0f, 15.0f, false},
      {"Y mode", 78.0f, 250.0f, false},
      {"blocking, random starts", 30.0f, 200.0f, true},
  };
  for (const auto& c : cases) {
    TrackingCase k = gappy_slab();
    k.aim(c.polar * kDegree, c.azimuth * kDegree, 120.0f * kDegree, 150);
    k.run.angle_index = c.blocking ? 1 : 0;
    k.run.start_mode = c.blocking ? 1 : 0;
    const engine::CellLookup cells = engine::make_cell_lookup(k.crystal);
    const engine::TrackingContext context{
        k.crystal,
        k.models,
        engine_test::fixed_tables(),
        k.tables,
        cells,
        engine::reference_direction(k.run.run_azimuth, k.run.companion_polar,
                                    k.run.type_angle_cutoff),
        k.tables.z_end};
    Log log;
    std::vector<std::int64_t> examined(k.crystal.atoms.size(), 0);
    engine::RunCounts counts;
    // One thread: the log follows the ions in order.
    engine::launch_ions(context, k.run, CandidateLog(context, log), engine::run_key(4711, 0),
                        examined, counts, 1);

    EXPECT_EQ(log.ions, counts.ions_run) << c.what;
    EXPECT_EQ(log.wrong_memory, 0) << c.what;
    ASSERT_EQ(static_cast<std::int64_t>(log.searches.size()), counts.partner_searches) << c.what;
    std::vector<std::int64_t> expected_per_atom(k.crystal.atoms.size(), 0);
    std::int64_t candidates = 0;
    for (std::size_t s = 0; s < log.searches.size(); ++s) {
      const Search& search = log.searches[s];
      ASSERT_EQ(search.seen, search.expected) << c.what << ", search " << s;
      EXPECT_EQ(search.partner != 0, !search.seen.empty()) << c.what << ", search " << s;
      for (const Seen& seen : search.seen)
        ++expected_per_atom[static_cast<std::size_t>(seen.atom - 1)];
      candidates += static_cast<std::int64_t>(search.seen.size());
    }
    EXPECT_EQ(examined, expected_per_atom) << c.what;
    EXPECT_GT(2 * candidates, counts.partner_searches) << c.what;  // blocks were not all empty
    // The same displacements as the multi-model policy: the same walks, search for search.
    EXPECT_EQ(counts.partner_searches, k.launch(4711).partner_searches) << c.what;
  }
}

}  // namespace
