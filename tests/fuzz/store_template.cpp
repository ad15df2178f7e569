// Template spectra: one- and two-dimensional, int32, int8 and float32, with the calibration
// records the tools need (angle in degrees on axis 1, energy in keV on axis 2), and a
// detector-sized spectrum that holds the straightening window.
#include "store_template.h"

#include <stdexcept>

namespace fuzz {
namespace {

const std::vector<TemplateSpectrum>& spectra() {
  static const std::vector<TemplateSpectrum> kSpectra = {
      {"line",
       1,
       40,
       1,
       4,
       {{"information 1", "beam H+ 100 keV"}, {"calibration 1", "Energy keV 2 100.0 0.5"}}},
      {"line2", 1, 30, 1, 4, {{"calibration 1", "Energy keV 2 115.0 0.25"}}},
      {"plane",
       2,
       12,
       30,
       4,
       {{"information 3", "run 7"},
        {"calibration 1", "Angle deg 2 100.0 0.5"},
        {"calibration 2", "Energy keV 2 80.0 1.0"}}},
      {"plane2",
       2,
       8,
       20,
       4,
       {{"calibration 1", "Angle deg 2 106.0 0.5"}, {"calibration 2", "Energy keV 2 90.0 1.5"}}},
      {"small8", 2, 6, 5, 0, {{"calibration 1", "Angle deg 2 0.0 1.0"}}},
      {"real", 1, 16, 1, 6, {{"calibration 1", "Energy keV 2 50.0 2.0"}}},
      {"det",
       2,
       210,
       630,
       4,
       {{"calibration 1", "Angle deg 2 90.0 0.147239"},
        {"calibration 2", "Energy keV 2 60.0 0.1"}}},
  };
  return kSpectra;
}

// A count pattern with peaks and zeros that fits every template type.
long long count_at(const TemplateSpectrum& s, int i1, int i2) {
  const long long raw = (i1 * 7 + i2 * 13) % 23;
  return s.type == 0 ? raw * 9 - 100 : raw * (1 + i2 % 3);
}

void run_or_throw(const Settings& settings, const std::filesystem::path& dir,
                  std::vector<std::string> args, const std::filesystem::path& input = {}) {
  Command command{settings.bin_dir / "specstore",
                  std::move(args),
                  dir,
                  {{"EXPERIMENTDIR", dir.string()}},
                  input};
  const ProcessResult result = run_process(command, settings.limits, dir.parent_path());
  if (judge_process(result).verdict != Verdict::finished) {
    throw std::runtime_error("cannot build the template store: " + shell_line(command) + "\n" +
                             result.out + result.err);
  }
}

}  // namespace

std::span<const TemplateSpectrum> template_spectra() {
  return spectra();
}

const TemplateSpectrum& template_spectrum(const std::string& name) {
  for (const TemplateSpectrum& s : spectra()) {
    if (s.name == name) return s;
  }
  throw std::logic_error("no template spectrum " + name);
}

std::string template_counts(const TemplateSpectrum& spectrum) {
  std::string text;
  const int rows = spectrum.dims == 1 ? spectrum.n1 : spectrum.n2;
  const int columns = spectrum.dims == 1 ? 1 : spectrum.n1;
  for (int row = 0; row < rows; ++row) {
    for (int column = 0; column < columns; ++column) {
      if (column > 0) text += ' ';
      const long long count =
          spectrum.dims == 1 ? count_at(spectrum, row, 0) : count_at(spectrum, column, row);
      text += std::to_string(count);
      if (spectrum.type == 6) text += ".25";
    }
    text += '\n';
  }
  return text;
}

void build_template(const Settings& settings, const std::filesystem::path& dir) {
  std::filesystem::remove_all(dir);
  std::filesystem::create_directories(dir);
  for (const TemplateSpectrum& s : spectra()) {
    const std::filesystem::path text = dir.parent_path() / (s.name + ".txt");
    write_file(text, template_counts(s));
    std::vector<std::string> args = {"import", s.name, text.string(), "--type",
                                     std::to_string(s.type)};
    if (s.dims == 2) args.insert(args.end(), {"--base", "0,0"});
    run_or_throw(settings, dir, args);
    for (const auto& [record, value] : s.records) {
      const std::size_t blank = record.find(' ');
      run_or_throw(settings, dir,
                   {"record", s.name, record.substr(0, blank), record.substr(blank + 1), value});
    }
  }
}

void copy_template(const std::filesystem::path& from, const std::filesystem::path& to) {
  std::filesystem::create_directories(to);
  for (const auto& entry : std::filesystem::directory_iterator(from)) {
    std::filesystem::copy_file(entry.path(), to / entry.path().filename());
  }
}

}  // namespace fuzz
