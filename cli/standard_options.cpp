// Answering --help and --version.
#include "cli/standard_options.h"

#include <iostream>
#include <string>

#include "cli/programs.h"
#include "cli/version.h"

namespace cli {

namespace {

constexpr const char* kStoreNote =
    "The experiment store is the directory named by EXPERIMENTDIR (unset or empty: the\n"
    "current directory). Success prints one closing line; a failure prints one message and\n"
    "exits with status 1.\n\n";

}  // namespace

std::string_view suite_version() {
  return IONBEAM_VERSION;
}

std::optional<int> standard_options(int argc, const char* const* argv, std::string_view program,
                                    std::ostream& out) {
  const ProgramHelp& help = program_help(program);  // unknown names fail at the first call
  if (argc < 2) return std::nullopt;
  const std::string_view option = argv[1];
  if (option == "--version") {
    out << help.name << " " << suite_version() << " (ion-beam surface crystallography suite)\n";
    return 0;
  }
  if (option != "--help") return std::nullopt;
  out << "Usage: " << help.usage << "\n\n"
      << help.summary << "\n\n"
      << (help.store ? kStoreNote : "") << "Options:\n"
      << "  --help     this text\n"
      << "  --version  the version of the suite\n\n"
      << "See README.md, section \"" << help.readme << "\".\n";
  return 0;
}

std::optional<int> standard_options(int argc, const char* const* argv, std::string_view program) {
  return standard_options(argc, argv, program, std::cout);
}

}  // namespace cli
