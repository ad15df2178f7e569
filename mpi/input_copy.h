// A worker's private copy of the input text that rank 0 read, as a file for the input reader
// (which reads files), in the node's temporary directory; removed again when done.
#pragma once

#include <string>

namespace mpi {

class InputCopy {
 public:
  // Throws std::runtime_error naming the file when it cannot be written.
  explicit InputCopy(const std::string& text);
  ~InputCopy();
  InputCopy(const InputCopy&) = delete;
  InputCopy& operator=(const InputCopy&) = delete;

  const std::string& path() const { return path_; }

 private:
  std::string path_;
};

}  // namespace mpi
