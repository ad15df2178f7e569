// Messages with passive waits.
#include "mpi/messages.h"

#include <mpi.h>

#include <algorithm>
#include <chrono>
#include <climits>
#include <thread>

namespace mpi {
namespace {

// Polls until `done` says so; sleeps between polls, longer the longer the wait (up to 1 ms,
// small against the seconds a block of ions takes).
template <typename Done>
void wait_passively(Done done) {
  auto pause = std::chrono::microseconds(20);
  while (!done()) {
    std::this_thread::sleep_for(pause);
    pause = std::min(pause * 2, std::chrono::microseconds(1000));
  }
}

void wait_for(MPI_Request& request) {
  wait_passively([&] {
    int flag = 0;
    MPI_Test(&request, &flag, MPI_STATUS_IGNORE);
    return flag != 0;
  });
}

MPI_Status probe(int source) {
  MPI_Status status{};
  wait_passively([&] {
    int flag = 0;
    MPI_Iprobe(source, MPI_ANY_TAG, MPI_COMM_WORLD, &flag, &status);
    return flag != 0;
  });
  return status;
}

int count_of(std::size_t size) {
  if (size > static_cast<std::size_t>(INT_MAX))
    throw std::length_error("a message of more than 2^31 items");
  return static_cast<int>(size);
}

void send(const void* data, int count, MPI_Datatype type, int destination, Tag tag) {
  MPI_Request request;
  MPI_Isend(data, count, type, destination, tag, MPI_COMM_WORLD, &request);
  wait_for(request);
}

void receive(void* data, int count, MPI_Datatype type, int source, Tag tag) {
  MPI_Request request;
  MPI_Irecv(data, count, type, source, tag, MPI_COMM_WORLD, &request);
  wait_for(request);
}

}  // namespace

void send_bytes(int destination, Tag tag, const std::string& bytes) {
  send(bytes.data(), count_of(bytes.size()), MPI_CHAR, destination, tag);
}

void send_doubles(int destination, Tag tag, const std::vector<double>& values) {
  send(values.data(), count_of(values.size()), MPI_DOUBLE, destination, tag);
}

Tag next_tag(int source) {
  return static_cast<Tag>(probe(source).MPI_TAG);
}

std::string receive_bytes(int source, Tag tag) {
  MPI_Status status = probe(source);
  if (status.MPI_TAG != tag) throw std::logic_error("unexpected message kind");
  int count = 0;
  MPI_Get_count(&status, MPI_CHAR, &count);
  std::string bytes(static_cast<std::size_t>(count), '\0');
  receive(bytes.data(), count, MPI_CHAR, source, tag);
  return bytes;
}

void receive_doubles(int source, Tag tag, std::vector<double>& values) {
  MPI_Status status = probe(source);
  if (status.MPI_TAG == kFailed) throw RankFailed(receive_bytes(source, kFailed));
  int count = 0;
  MPI_Get_count(&status, MPI_DOUBLE, &count);
  if (status.MPI_TAG != tag || count != count_of(values.size()))
    throw std::logic_error("unexpected message kind or size");
  receive(values.data(), count, MPI_DOUBLE, source, tag);
}

void expect_ready(int source) {
  const Tag tag = next_tag(source);
  if (tag == kFailed) throw RankFailed(receive_bytes(source, kFailed));
  receive_bytes(source, kReady);
}

}  // namespace mpi
