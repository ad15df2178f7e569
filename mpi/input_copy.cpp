// Reading the input text on rank 0; writing and removing the worker's copy of it.
#include "mpi/input_copy.h"

#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <sstream>
#include <stdexcept>
#include <string>
#include <vector>

#include "textio/fixed_text.h"

namespace mpi {

std::string read_input_text(std::string_view path) {
  const std::string name(textio::trim_trailing(path));
  std::ifstream in(name, std::ios::binary);
  std::stringstream text;
  text << in.rdbuf();
  if (!in) throw std::runtime_error("cannot read input file " + name + " again");
  return text.str();
}

InputCopy::InputCopy(const std::string& text) {
  const char* directory = std::getenv("TMPDIR");
  const std::string name =
      std::string(directory != nullptr && *directory != '\0' ? directory : "/tmp") +
      "/ionbeam-input-XXXXXX";
  std::vector<char> buffer(name.begin(), name.end());
  buffer.push_back('\0');
  const int fd = mkstemp(buffer.data());
  if (fd < 0) throw std::runtime_error("cannot create a copy of the input in " + name);
  path_ = buffer.data();
  FILE* file = fdopen(fd, "w");
  const bool written = file && std::fwrite(text.data(), 1, text.size(), file) == text.size();
  const bool closed = file ? std::fclose(file) == 0 : close(fd) == 0;
  if (!written || !closed) {
    std::remove(path_.c_str());
    throw std::runtime_error("cannot write a copy of the input to " + path_);
  }
}

InputCopy::~InputCopy() {
  std::remove(path_.c_str());
}

}  // namespace mpi
