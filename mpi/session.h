// The MPI process of a program run under mpirun: its rank among the job's processes, and the
// end of the whole job when one process cannot go on.
#pragma once

namespace mpi {

class Session {
 public:
  // Starts MPI for threads that call it one at a time (the ordered hand-over of chunk tallies
  // makes its calls from whichever thread takes a block). Throws std::runtime_error when the
  // library cannot give that.
  Session(int& argc, char**& argv);
  ~Session();
  Session(const Session&) = delete;
  Session& operator=(const Session&) = delete;

  int rank() const { return rank_; }
  int size() const { return size_; }
  bool root() const { return rank_ == 0; }

  // Ends every process of the job with exit status `code`: for a failure while other ranks
  // may be waiting to hand over work.
  [[noreturn]] void abort(int code) const;

 private:
  int rank_ = 0;
  int size_ = 1;
};

}  // namespace mpi
