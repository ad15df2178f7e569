// specstore: puts spectra into an experiment store from text, takes them out again, and shows
// their descriptions and records. The store is the one EXPERIMENTDIR names (else the current
// directory); see README.md.
#include <string>
#include <string_view>
#include <vector>
#include "cli/standard_options.h"

#include "spectools/frame/start_up.h"
#include "spectools/frame/tool_exit.h"
#include "spectools/specstore/commands.h"

namespace {

struct Command {
  std::string_view word;
  std::size_t min_args;
  std::size_t max_args;
  std::string (*run)(const std::vector<std::string>&);
};

constexpr std::size_t kAny = static_cast<std::size_t>(-1);

constexpr Command kCommands[] = {
    {"list", 0, 0, specstore::list_command},        {"info", 1, 1, specstore::info_command},
    {"import", 2, kAny, specstore::import_command}, {"export", 1, 1, specstore::export_command},
    {"record", 3, 4, specstore::record_command},
};

std::string run(int argc, char** argv) {
  spectools::connect_store();
  if (argc >= 2) {
    const std::vector<std::string> args(argv + 2, argv + argc);
    for (const Command& command : kCommands) {
      if (command.word == argv[1] && args.size() >= command.min_args &&
          args.size() <= command.max_args) {
        return command.run(args);
      }
    }
  }
  throw spectools::ToolExit(1, spectools::usage_output(specstore::kUsage));
}

}  // namespace

int main(int argc, char** argv) {
  if (const auto answered = cli::standard_options(argc, argv, "specstore")) return *answered;
  return spectools::run_tool([&] { return run(argc, argv); });
}
