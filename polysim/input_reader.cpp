// The sequence of reading the simulation input file: open, flags, counts, crystal, progress
// lines, models; and the abort blocks of its failure paths.
#include "polysim/input_reader.h"

#include <filesystem>
#include <fstream>
#include <new>
#include <stdexcept>
#include <string>
#include <system_error>

#include "polysim/input_groups.h"
#include "polysim/input_values.h"
#include "polysim/run_errors.h"
#include "polysim/status_file.h"
#include "textio/fixed_text.h"

namespace polysim {

namespace {

constexpr std::size_t kCommentWidth = 80;
constexpr const char* kNoMemory =
    "Dimension record: the tables for these counts do not fit in memory";

[[noreturn]] void abort_unopened_input(StatusLines& status, std::string_view input_path) {
  status.write_group({free_line("-------------------------"),
                      free_line("Error opening input file!"), free_line("- Job aborted")});
  status.write_console_only({"", "", free_line(" ************************************************"),
                             free_line(" **** You've made at least one serious error ****"),
                             free_line(" *********** Sorry I cannot help more ***********")});
  throw JobAborted("cannot open input file " + std::string(input_path));
}

[[noreturn]] void abort_invalid_flags(StatusLines& status) {
  status.write_group({free_line("---------------------------------"),
                      free_line("Not a valid polysim input file!"),
                      free_line("- Job aborted. Perhaps try monosim?)")});
  throw JobAborted("not a valid polysim input file");
}

void write_progress(StatusLines& status, const std::string& comment) {
  status.write_console_only({free_line("Readin crystal")});
  const std::string stamp = date_stamp();
  std::vector<std::string> lines;
  if (!textio::is_blank(comment)) lines.push_back(free_line(stamp + "  " + comment));
  lines.push_back(free_line(stamp + "  Reading multimodel parameters"));
  status.write_group(lines);
}

}  // namespace

// The size of a regular file; none for a pipe or device, whose size says nothing.
std::optional<double> regular_file_bytes(const std::string& name) {
  std::error_code error;
  if (!std::filesystem::is_regular_file(name, error)) return std::nullopt;
  const std::uintmax_t bytes = std::filesystem::file_size(name, error);
  if (error) return std::nullopt;
  return static_cast<double>(bytes);
}

void abort_invalid_input(StatusLines& status, const InvalidInput& why) {
  status.write_group({free_line("---------------------------------"), free_line(why.what()),
                      free_line("- Job aborted")});
  throw JobAborted(why.what());
}

SimulationInput read_simulation_input(std::string_view input_path, StatusLines& status,
                                      double available_bytes) {
  const std::string name(textio::trim_trailing(input_path));
  std::ifstream file(name);
  if (!file) abort_unopened_input(status, name);
  textio::FreeReader in(file, name);
  SimulationInput input;
  input.comment = textio::fixed_width(in.read_line(kCommentWidth, "comment"), kCommentWidth);
  if (!read_option_flags(in, input)) {
    file.close();
    abort_invalid_flags(status);
  }
  try {
    check_options(input.options);
    read_dimension_record(in, input, {available_bytes, regular_file_bytes(name)});
    read_crystal_groups(in, input);
    write_progress(status, input.comment);
    read_model_groups(in, input);
  } catch (const InvalidInput& why) {
    file.close();
    abort_invalid_input(status, why);
  } catch (const std::bad_alloc&) {
    file.close();
    abort_invalid_input(status, InvalidInput(kNoMemory));
  } catch (const std::length_error&) {
    file.close();
    abort_invalid_input(status, InvalidInput(kNoMemory));
  }
  return input;
}

}  // namespace polysim
