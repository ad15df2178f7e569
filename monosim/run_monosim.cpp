// The run sequence of monosim: status header, Gaussian table, input, seed and derived
// quantities, shadowing run, blocking runs, result file and completion line.
#include "monosim/run_monosim.h"

#include <exception>
#include <fstream>
#include <iostream>
#include <new>
#include <stdexcept>
#include <string>
#include <vector>

#include "engine/fixed_tables.h"
#include "engine/run_seed.h"
#include "monosim/input_reader.h"
#include "monosim/prepared_mono.h"
#include "monosim/result_file.h"
#include "monosim/simulate.h"
#include "polysim/method_warnings.h"
#include "polysim/run_errors.h"
#include "polysim/run_files.h"
#include "polysim/status_file.h"
#include "textio/fixed_text.h"
#include "textio/free_writer.h"

namespace monosim {

namespace {

using polysim::free_line;
using polysim::stamped_line;
using polysim::StatusFile;

void write_header(StatusFile& status, const polysim::RunFiles& files) {
  status.write_group(
      {free_line("STATUS-REPORT OF \"MONOSIM\" RUN"),
       free_line("Inputfile:  " + textio::fixed_width(files.input_path, polysim::kNameWidth)),
       free_line("Outputfile: " + textio::fixed_width(files.output_root, polysim::kNameWidth))});
}

// A refused value, count or geometry: its one line to the status file and the console.
[[noreturn]] void refuse(StatusFile& status, const std::string& why) {
  status.write_group({free_line(why)});
  throw RunStopped(why);
}

MonoInput read_input(const polysim::RunFiles& files, StatusFile& status) {
  try {
    return read_mono_input(files.input_path, status);
  } catch (const polysim::InvalidInput& why) {
    refuse(status, why.what());
  }
}

// The seed of IONBEAM_SEED or of the clock, in a stamped line: the run repeats with it.
std::int64_t announce_seed(StatusFile& status) {
  const std::int64_t seed = engine::run_seed();
  textio::FreeLine line;
  line << polysim::date_stamp() + "  Random seed:" << seed;
  status.write_group({free_line(line)});
  return seed;
}

PreparedMono prepare(const MonoInput& input, const engine::FixedTables& fixed, StatusFile& status) {
  try {
    return prepare_mono(input, fixed);
  } catch (const polysim::InvalidInput& why) {
    refuse(status, why.what());
  }
}

void write_finished(StatusFile& status, std::int32_t run) {
  if (run == 0) {
    status.write_group({stamped_line(" Starting blocking calculation now.")});
    return;
  }
  textio::FreeLine line;
  line << polysim::date_stamp() + " Finished with blocking angle :" << run;
  status.write_group({free_line(line)});
}

// A NaN or an infinity from whatever input or arithmetic stops the run before the file.
void check_finite(const MonoResults& results, StatusFile& status) {
  for (std::int32_t a = 1; a <= results.atom_count; ++a) {
    const float p = results.hit_probability[static_cast<std::size_t>(a - 1)];
    if (!std::isfinite(p))
      refuse(status, "Results: the hitting probability of atom " + std::to_string(a) + " is " +
                         std::to_string(p) + "; no result file is written");
    for (std::int32_t j = 1; j <= results.angle_count; ++j)
      if (!std::isfinite(results.yield_at(a, j)))
        refuse(status, "Results: the blocked yield of atom " + std::to_string(a) +
                           " at detection angle " + std::to_string(j) + " is " +
                           std::to_string(results.yield_at(a, j)) + "; no result file is written");
  }
}

void write_results(const ResultContext& context) {
  const std::string name(textio::trim_trailing(context.output_path));
  std::ofstream out(name, std::ios::trunc);
  if (!out) throw polysim::FileError("cannot create result file " + name);
  write_result_file(out, context);
  out.close();
  if (!out) throw polysim::FileError("cannot write result file " + name);
}

}  // namespace

void run_monosim(const polysim::RunFiles& files, std::ostream& console, MonoSimulator& simulator) {
  StatusFile status(kStatusFile, console, false);
  write_header(status, files);
  const engine::FixedTables fixed = engine::build_fixed_tables();
  status.write_console_only({free_line("Gaussian Array has been generated")});
  const MonoInput input = read_input(files, status);
  const polysim::SimulationOptions options{announce_seed(status)};
  const PreparedMono prepared = prepare(input, fixed, status);
  for (const std::string& warning :
       polysim::method_warnings(prepared.run.input, prepared.run.interaction_radii()))
    status.write_group({stamped_line(warning)});
  status.write_group({stamped_line(" Starting Shadowing calculation now.")});
  const MonoResults results =
      simulator.simulate(files.input_path, prepared, fixed, options,
                         [&status](std::int32_t run) { write_finished(status, run); });
  check_finite(results, status);
  write_results(
      {prepared, results, files.input_path, files.output_root, fixed.deg_to_rad, options.seed});
  status.write_group({free_line("JOB SUCCESSFULLY COMPLETED")});
}

int run_monosim_program(std::ostream& console, MonoSimulator& simulator) {
  try {
    run_monosim(polysim::read_run_files(".", kPointerFile), console, simulator);
    return 0;
  } catch (const RunStopped&) {
    // Its message is written.
  } catch (const std::exception& error) {
    console.flush();
    std::cerr << "monosim: " << error.what() << '\n';
  }
  return 1;
}

}  // namespace monosim
