// The result files of a run, in order, each opened, filled and closed in turn.
#include "polysim/result_writer.h"

#include <filesystem>
#include <fstream>
#include <system_error>

#include "polysim/input_reader.h"
#include "polysim/result_check.h"
#include "polysim/result_file.h"
#include "polysim/result_names.h"
#include "polysim/result_signals.h"
#include "polysim/run_errors.h"
#include "polysim/run_files.h"
#include "textio/fixed_text.h"

namespace polysim {

namespace {

constexpr const char* kFallbackName = "dump.out";

struct OpenFile {
  std::ofstream stream;
  std::string full_name;  // as the file system reports it
};

// The absolute name with links and dot directories resolved; the plain absolute name if
// the file system cannot resolve it.
std::string full_name_of(const std::filesystem::path& path) {
  std::error_code error;
  const std::filesystem::path resolved = std::filesystem::canonical(path, error);
  return error ? std::filesystem::absolute(path).string() : resolved.string();
}

class ResultFileOpener {
 public:
  ResultFileOpener(StatusFile& status, std::string_view output_root)
      : status_(status), output_root_(output_root) {}

  // Replaces an existing file of that name; falls back to "dump.out" if it cannot.
  OpenFile open(const std::string& path) {
    const std::string name(textio::trim_trailing(path));
    OpenFile file{std::ofstream(name, std::ios::trunc), ""};
    if (!file.stream) return open_fallback(name);
    file.full_name = full_name_of(name);
    return file;
  }

 private:
  // "dump.out" must be new: a second fall-back in one run, or a dump left by another run,
  // would otherwise be overwritten.
  OpenFile open_fallback(const std::string& failed) {
    const std::filesystem::path fallback = std::filesystem::absolute(kFallbackName);
    std::error_code error;
    if (std::filesystem::exists(fallback, error) || error)
      throw FileError("cannot create result file " + failed + ", and its fall-back " +
                      fallback.string() + " exists already" +
                      (fallback_used_ ? " (written for an earlier model pair of this run)" : ""));
    OpenFile file{std::ofstream(fallback), ""};
    if (!file.stream)
      throw FileError("cannot create result file " + failed + " nor its fall-back " +
                      fallback.string());
    fallback_used_ = true;
    file.full_name = full_name_of(fallback);
    status_.write_group(
        {free_line("Error opening " + textio::fixed_width(output_root_, kNameWidth)),
         free_line("File written  " + textio::fixed_width(file.full_name, kNameWidth))});
    return file;
  }

  StatusFile& status_;
  std::string_view output_root_;
  bool fallback_used_ = false;
};

void write_one_file(const SimulationInput& input, const RunResults& results,
                    const RunResults& clipped, const ResultSetup& setup, std::int32_t s,
                    std::int32_t v, OpenFile& file) {
  const ResultSignals signals =
      compute_result_signals(input.crystal, input.beam.atoms_per_layer, results, s, v);
  const ResultFileContext context{input,     clipped,          signals,        s,
                                  v,         setup.input_path, file.full_name, setup.deg_to_rad,
                                  setup.seed};
  write_result_file(file.stream, context);
  file.stream.close();
  if (!file.stream) throw FileError("cannot write result file " + file.full_name);
}

}  // namespace

void write_result_files(const SimulationInput& input, const RunResults& results, StatusFile& status,
                        const ResultSetup& setup) {
  try {
    check_results_finite(results);
  } catch (const InvalidInput& why) {
    abort_invalid_input(status, why);
  }
  status.write_group({stamped_line(
      "  Writing output files: " + textio::fixed_width(setup.output_root, kNameWidth) + ".nnn")});
  const RunResults clipped = clipped_yields(results);
  ResultFileOpener opener(status, setup.output_root);
  const std::int32_t vibrations = input.models.vibration_count;
  for (std::int32_t s = 1; s <= input.models.structure_count; ++s) {
    for (std::int32_t v = 1; v <= vibrations; ++v) {
      OpenFile file = opener.open(
          result_path(setup.output_root, setup.name_column, result_number(s, v, vibrations)));
      write_one_file(input, results, clipped, setup, s, v, file);
    }
  }
}

}  // namespace polysim
