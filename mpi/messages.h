// Point-to-point messages between the ranks of a job. Every wait polls and sleeps between
// polls, so that a rank waiting for another leaves its cores to the threads that compute
// (a busy wait would take a core from them on a shared node).
#pragma once

#include <cstdint>
#include <stdexcept>
#include <string>
#include <vector>

namespace mpi {

// Message kinds. Messages between two ranks arrive in the order they were sent, whatever the
// kind, so a rank reading "the next message from r" reads them in r's order.
enum Tag : int {
  kCommand = 1,  // rank 0 to a worker: what to do next
  kReady = 2,    // a worker to rank 0: the input is prepared, or the worker stopped cleanly
  kFailed = 3,   // a worker to rank 0: the message of its failure
  kBlock = 4,    // a worker to rank 0: the sums of one block of ions
};

// A failure on another rank, with its message.
class RankFailed : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

void send_bytes(int destination, Tag tag, const std::string& bytes);
void send_doubles(int destination, Tag tag, const std::vector<double>& values);

// The kind of the next message from `source`, once it has arrived.
Tag next_tag(int source);

// The next message from `source`, which must be of kind `tag`.
std::string receive_bytes(int source, Tag tag);
// The next message from `source` into `values` (its size must match). Throws RankFailed with
// the message when `source` sent its failure instead.
void receive_doubles(int source, Tag tag, std::vector<double>& values);

// The next message from `source` of kind kReady, or RankFailed with the message of kFailed.
void expect_ready(int source);

}  // namespace mpi
