// Naming, opening and writing of the status file.
#include "polysim/status_file.h"

#include <algorithm>
#include <chrono>
#include <filesystem>

#include "polysim/run_errors.h"
#include "polysim/run_files.h"
#include "textio/fixed_text.h"
#include "textio/format_writer.h"
#include "textio/free_writer.h"

namespace polysim {

namespace {

constexpr int kLastScanColumn = 50;  // the scan for the cut stops at column 51
constexpr int kSuffixEndColumn = 57;
constexpr const char* kFallbackName = "dump.status";

void write_lines(std::ostream& out, const std::vector<std::string>& lines) {
  for (const std::string& line : lines) out << line << '\n';
  out.flush();
}

}  // namespace

std::string free_line(const textio::FreeLine& line) {
  std::string out = line.str();
  out.pop_back();  // drop the newline; writers add their own
  return out;
}

std::string free_line(std::string_view text) {
  textio::FreeLine line;
  line << text;
  return free_line(line);
}

StatusName build_status_path(std::string_view output_root) {
  std::string path = textio::fixed_width(output_root, kNameWidth);
  const std::size_t bracket = path.find(']');
  int p = (bracket == std::string::npos || bracket == 0) ? 1 : static_cast<int>(bracket) + 1;
  while (p <= kLastScanColumn && path[p - 1] != ' ' && path[p - 1] != '.') ++p;
  // A bracket beyond column 57 leaves no columns for the suffix: the root stands unchanged.
  const int width = std::max(kSuffixEndColumn - p + 1, 0);
  const std::string suffix = textio::fixed_width(".status", static_cast<std::size_t>(width));
  path.replace(static_cast<std::size_t>(p - 1), suffix.size(), suffix);
  return {path, p};
}

std::string date_stamp(const std::tm& t) {
  static const char* const kDays[] = {"Sun", "Mon", "Tue", "Wed", "Thu", "Fri", "Sat"};
  static const char* const kMonths[] = {"Jan", "Feb", "Mar", "Apr", "May", "Jun",
                                        "Jul", "Aug", "Sep", "Oct", "Nov", "Dec"};
  static const textio::Format kStamp("(A3,' ',A3,' ',I2,' ',I2.2,':',I2.2,':',I2.2,' ',I4)");
  std::string text = kStamp.write({std::string_view(kDays[t.tm_wday % 7]),
                                   std::string_view(kMonths[t.tm_mon % 12]), t.tm_mday, t.tm_hour,
                                   t.tm_min, t.tm_sec, t.tm_year + 1900});
  text.pop_back();
  return text;
}

std::string date_stamp() {
  const std::time_t now = std::chrono::system_clock::to_time_t(std::chrono::system_clock::now());
  std::tm local{};
  localtime_r(&now, &local);
  return date_stamp(local);
}

std::string stamped_line(std::string_view text) {
  return free_line(date_stamp() + std::string(text));
}

StatusFile::StatusFile(std::string status_path, std::ostream& console, bool dump_fallback)
    : path_(std::move(status_path)), console_(console), dump_fallback_(dump_fallback) {}

std::ofstream StatusFile::open_status() {
  const bool first = !opened_before_;
  opened_before_ = true;
  std::ofstream file(std::string(textio::trim_trailing(path_)),
                     first ? std::ios::trunc : std::ios::app);
  if (file) return file;
  if (!dump_fallback_) throw FileError("cannot open status file " + path_);
  return open_fallback(first);
}

// The fall-back replaces "dump.status" at the first opening; later it must be new, so a run
// never mixes its lines into an older run's dump.
std::ofstream StatusFile::open_fallback(bool first_opening) {
  const std::filesystem::path fallback = std::filesystem::absolute(kFallbackName);
  const std::string failed(textio::trim_trailing(path_));
  if (!first_opening && std::filesystem::exists(fallback))
    throw FileError("cannot open status file " + failed + ", and its fall-back " +
                    fallback.string() + " exists already");
  std::ofstream file(fallback, std::ios::trunc);
  if (!file)
    throw FileError("cannot open status file " + failed + " nor its fall-back " +
                    fallback.string());
  path_ = fallback.string();
  return file;
}

void StatusFile::write_group(const std::vector<std::string>& lines) {
  write_file_only(lines);
  write_console_only(lines);
}

void StatusFile::write_file_only(const std::vector<std::string>& lines) {
  std::ofstream file = open_status();
  write_lines(file, lines);
  if (!file) throw FileError("cannot write status file " + std::string(path_));
}

void StatusFile::write_console_only(const std::vector<std::string>& lines) {
  write_lines(console_, lines);
}

void write_status_header(StatusFile& status, std::string_view input_path,
                         std::string_view output_root) {
  const std::string stamp = date_stamp();
  status.write_group({
      free_line("TRAVO polysim"),
      free_line("Simulation status"),
      free_line("-----------------"),
      "",
      free_line(stamp + "  Reading input file: " + textio::fixed_width(input_path, kNameWidth)),
      free_line(stamp + "  Output file rootname: " + textio::fixed_width(output_root, kNameWidth)),
      "",
  });
}

}  // namespace polysim
