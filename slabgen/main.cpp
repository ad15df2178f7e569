// slabgen: writes a simulation input for polysim (or monosim, or a structfit base file) from a
// short crystal description; see README.md.
#include <exception>
#include <fstream>
#include <iostream>
#include <string>

#include "cli/standard_options.h"
#include "slabgen/generate.h"

namespace {

int usage() {
  std::cerr << "Usage: slabgen [--monosim] description [input_file]\n";
  return 2;
}

}  // namespace

int main(int argc, char** argv) {
  if (const auto answered = cli::standard_options(argc, argv, "slabgen")) return *answered;
  int arg = 1;
  slabgen::Variant variant = slabgen::Variant::polysim;
  if (arg < argc && std::string(argv[arg]) == "--monosim") {
    variant = slabgen::Variant::monosim;
    ++arg;
  }
  if (argc - arg < 1 || argc - arg > 2) return usage();
  try {
    const slabgen::Generated out =
        slabgen::generate(slabgen::Description::read_file(argv[arg]), variant);
    if (argc - arg == 1) {  // the input on standard output, the report beside it
      std::cout << out.input;
      std::cerr << out.report;
      return 0;
    }
    std::ofstream file(argv[arg + 1], std::ios::binary);
    file << out.input;
    if (!file.flush()) {
      std::cerr << "slabgen: cannot write " << argv[arg + 1] << '\n';
      return 1;
    }
    std::cout << out.report << "Written: " << argv[arg + 1] << '\n';
    return 0;
  } catch (const std::exception& error) {
    std::cerr << "slabgen: " << error.what() << '\n';
    return 1;
  }
}
