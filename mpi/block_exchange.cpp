// Dealing blocks round-robin and adding them in order on rank 0.
#include "mpi/block_exchange.h"

#include <algorithm>
#include <bit>

#include "mpi/messages.h"

namespace mpi {
namespace {

// The same additions as a single process makes when it adds a block to the run's sums.
void add(BlockSums total, const BlockSums& part) {
  for (std::size_t i = 0; i < part.hit_sum.size(); ++i) total.hit_sum[i] += part.hit_sum[i];
  total.overlayer_deflection_sum += part.overlayer_deflection_sum;
  total.partner_searches += part.partner_searches;
}

void clear(BlockSums part) {
  std::fill(part.hit_sum.begin(), part.hit_sum.end(), 0.0);
  part.overlayer_deflection_sum = 0.0;
  part.partner_searches = 0;
}

}  // namespace

int BlockDeal::Run::owner(std::int64_t block) const {
  return static_cast<int>((deal_.first_block_ + block) % deal_.session_.size());
}

bool BlockDeal::Run::mine(std::int64_t block) const {
  return owner(block) == deal_.session_.rank();
}

void BlockDeal::Run::receive_until(std::int64_t end) {
  std::vector<double>& message = deal_.message_;
  for (; next_ < end; ++next_) {
    const int from = owner(next_);
    if (from == 0) continue;
    message.resize(total_.hit_sum.size() + 2);
    receive_doubles(from, kBlock, message);
    std::int64_t searches = std::bit_cast<std::int64_t>(message.back());
    double deflections = message[message.size() - 2];
    message.resize(total_.hit_sum.size());
    add(total_, {message, deflections, searches});
  }
}

void BlockDeal::Run::done(std::int64_t block, BlockSums part) {
  if (deal_.session_.root()) {
    receive_until(block);
    add(total_, part);
    next_ = block + 1;
  } else {
    std::vector<double>& message = deal_.message_;
    message.assign(part.hit_sum.begin(), part.hit_sum.end());
    message.push_back(part.overlayer_deflection_sum);
    message.push_back(std::bit_cast<double>(part.partner_searches));
    send_doubles(0, kBlock, message);
  }
  clear(part);
}

void BlockDeal::Run::finish(std::int64_t blocks) {
  if (deal_.session_.root()) receive_until(blocks);
  deal_.first_block_ += blocks;
}

}  // namespace mpi
