// The commands of rank 0 and the workers' answers. A command is one message: 'S' with the seed
// on the first line and the input text after it, 'G' to start the ion runs of the prepared
// simulation, 'E' with the exit status to end.
#include "mpi/workers.h"

#include <exception>
#include <iostream>
#include <string>

#include "mpi/messages.h"

namespace mpi {
namespace {

std::string rank_message(int rank, const std::string& what) {
  return "rank " + std::to_string(rank) + ": " + what;
}

// Runs `step`; its failure goes to rank 0 as this rank's message. False after a failure.
template <typename Step>
bool reported(const Session& session, Step step) {
  try {
    step();
    return true;
  } catch (const std::exception& error) {
    send_bytes(0, kFailed, rank_message(session.rank(), error.what()));
  }
  return false;
}

}  // namespace

int serve(const Session& session, WorkerProgram& program) {
  bool failed = false;
  for (;;) {
    const std::string command = receive_bytes(0, kCommand);
    if (command.empty()) continue;
    if (command[0] == 'E') {
      if (failed) return 1;
      send_bytes(0, kReady, "");
      return std::stoi(command.substr(1));
    }
    if (failed) continue;  // rank 0 reads the failure before it needs anything from here
    if (command[0] == 'S') {
      const std::size_t line_end = command.find('\n');
      failed = !reported(session, [&] {
        program.prepare(command.substr(line_end + 1), std::stoll(command.substr(1, line_end)));
        send_bytes(0, kReady, "");
      });
    } else if (command[0] == 'G') {
      failed = !reported(session, [&] { program.simulate(session); });
    }
  }
}

void Workers::send_all(const std::string& command) {
  for (int r = 1; r < session_.size(); ++r) send_bytes(r, kCommand, command);
}

std::string Workers::collect_answers() {
  std::string failure;
  for (int r = 1; r < session_.size(); ++r) {
    if (failed_[static_cast<std::size_t>(r)]) continue;
    try {
      expect_ready(r);
    } catch (const RankFailed& why) {
      failed_[static_cast<std::size_t>(r)] = true;
      if (failure.empty()) failure = why.what();
    }
  }
  return failure;
}

void Workers::start(const std::string& input_text, std::int64_t seed) {
  std::string command = "S";
  command.append(std::to_string(seed)).append(1, '\n').append(input_text);
  send_all(command);
  const std::string failure = collect_answers();
  if (!failure.empty()) throw RankFailed(failure);
  send_all("G");
}

std::string Workers::stop(int code) {
  send_all(std::string("E").append(std::to_string(code)));
  return collect_answers();
}

int end_job(const Session& session, Workers& workers, int status, const std::string& program) {
  if (workers.busy()) session.abort(1);
  const std::string failure = workers.stop(status);
  if (failure.empty()) return status;
  std::cerr << program << ": " << failure << '\n';
  return 1;
}

}  // namespace mpi
