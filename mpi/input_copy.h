// The input text that rank 0 reads and hands out, and a worker's private copy of it as a file
// for the input reader (which reads files), in the node's temporary directory; removed again
// when done.
#pragma once

#include <string>
#include <string_view>

namespace mpi {

// The whole text of the input file `path` (trailing blanks of the name dropped), as rank 0
// hands it to the workers. Throws std::runtime_error naming the file when it cannot be read.
std::string read_input_text(std::string_view path);

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
