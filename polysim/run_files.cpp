// Reading of the pointer file.
#include "polysim/run_files.h"

#include <fstream>

#include "polysim/run_errors.h"
#include "textio/free_reader.h"

namespace polysim {

RunFiles read_run_files(const std::filesystem::path& directory, const std::string& pointer_file) {
  const std::filesystem::path path = directory / pointer_file;
  std::ifstream in(path);
  if (!in) throw FileError("cannot open the pointer file " + path.string());
  textio::FreeReader reader(in, pointer_file);
  RunFiles files;
  files.input_path = reader.read_line(kNameWidth, "input file name (line 1)");
  files.output_root = reader.read_line(kNameWidth, "output root name (line 2)");
  return files;
}

}  // namespace polysim
