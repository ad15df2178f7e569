// The blocks of ions of a simulation shared out among the ranks of a job. The blocks of all
// runs, in run order and within a run in block order, are dealt out round-robin: block k of
// that sequence goes to rank k mod size. Workers send each block's sums to rank 0 as they
// finish it; rank 0 adds every block to the run's sums in block order, its own and the
// received ones alike, so the sums are those of a single process bit for bit.
#pragma once

#include <cstdint>
#include <vector>

#include "mpi/session.h"

namespace mpi {

// The additive sums of a block or a run, whatever the tracking policy's tally holds.
struct BlockSums {
  std::vector<double>& hit_sum;
  double& overlayer_deflection_sum;
  std::int64_t& partner_searches;
};

// One simulation's share of blocks: made anew for every simulation on every rank, and used
// for its runs in the same order everywhere.
class BlockDeal {
 public:
  explicit BlockDeal(const Session& session) : session_(session) {}

  // The exchange of the blocks of one run, into `total` (rank 0's run sums).
  class Run {
   public:
    Run(BlockDeal& deal, BlockSums total) : deal_(deal), total_(total) {}
    // Computed here.
    bool mine(std::int64_t block) const;
    // A block computed here, in block order. Rank 0 first adds every earlier block of the run
    // from the other ranks, then this one; a worker sends it. Leaves `part` holding nothing.
    // Throws RankFailed when the rank that owes a block failed.
    void done(std::int64_t block, BlockSums part);
    // After the run's own blocks, with the run's block count: rank 0 adds the blocks still
    // due. Every rank moves the deal on to the next run.
    void finish(std::int64_t blocks);

   private:
    int owner(std::int64_t block) const;
    void receive_until(std::int64_t end);

    BlockDeal& deal_;
    BlockSums total_;
    std::int64_t next_ = 0;  // rank 0: the next block to add
  };

 private:
  const Session& session_;
  std::int64_t first_block_ = 0;  // place of the current run's block 0 in the sequence
  std::vector<double> message_;   // a block's sums as sent: hit sums, deflections, searches
};

}  // namespace mpi
