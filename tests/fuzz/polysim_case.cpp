// polysim cases: the example input with its fluxes cut to 20 ions/Å² (a run of well under a
// second), then mutated; a finished run must carry its completion line and no NaN or Inf.
#include <array>
#include <stdexcept>

#include "cases.h"

namespace fuzz {
namespace {

constexpr std::string_view kExampleFluxes = " 0.200E+05 0.200E+05";
constexpr std::string_view kSmallFluxes = " 0.200E+02 0.200E+02";
constexpr std::string_view kCompletion = "JOB SUCCESSFULLY COMPLETED";

std::string small_example(const Settings& settings) {
  std::string text = read_file(settings.examples_dir / "cu001.in");
  const std::size_t at = text.find(kExampleFluxes);
  if (at == std::string::npos) throw std::runtime_error("cu001.in: fluxes not found");
  text.replace(at, kExampleFluxes.size(), kSmallFluxes);
  return text;
}

// Input names that must be refused: a device without line ends, a directory, nothing.
std::string pointer_file(Random& random, Log& log) {
  static constexpr std::array<std::string_view, 4> kBadInputs = {"/dev/zero", ".", "nosuch.in", ""};
  if (!random.chance(5)) return "slab.in\nrun\n";
  const std::string_view input = kBadInputs[random.below(kBadInputs.size())];
  log.push_back("polysim1.io names the input '" + std::string(input) + "'");
  return std::string(input) + "\nrun\n";
}

void check_results(CaseContext& context, const Command& command) {
  const std::filesystem::path& dir = command.cwd;
  if (read_file(dir / "run.status").find(kCompletion) == std::string::npos) {
    context.flag(Verdict::silent, "exit status 0 without the completion line", command);
  }
  for (const auto& entry : std::filesystem::directory_iterator(dir)) {
    const std::string name = entry.path().filename().string();
    if (name == "slab.in" || name == "polysim1.io") continue;
    const std::string line = nonfinite_line(read_file(entry.path()));
    if (!line.empty()) context.flag(Verdict::nonfinite, name + ": " + line, command);
  }
}

}  // namespace

void polysim_case(CaseContext& context) {
  const std::filesystem::path dir = context.dir() / "run";
  std::filesystem::create_directories(dir);
  const TextShape shape{.first_mutable_line = 1, .dimension_line = 3};
  write_file(dir / "slab.in", mutate_text(small_example(context.settings()), shape,
                                          context.random(), context.log()));
  write_file(dir / "polysim1.io", pointer_file(context.random(), context.log()));
  const Command command{context.program("polysim"), {}, dir, {{"IONBEAM_SEED", "12345"}}, {}};
  const CaseContext::Run run = context.run(command);
  if (run.judgement.verdict == Verdict::finished) check_results(context, command);
}

}  // namespace fuzz
