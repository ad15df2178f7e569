// The status file of a run: its name built from the output root, the date stamp before each
// group of lines, and the opening rules (first opening replaces, later ones append, with a
// fall-back to "dump.status"). Every group goes to the file and then to the console.
#pragma once

#include <ctime>
#include <fstream>
#include <ostream>
#include <string>
#include <string_view>
#include <vector>

#include "polysim/status_lines.h"
#include "textio/free_writer.h"

namespace polysim {

// The status file name and the column p (1-based) at which the output root was cut; p is
// reused for the result file names.
struct StatusName {
  std::string path;  // 80 columns, blank-padded
  int name_column = 1;
};

// Copies `output_root` (80 columns) and writes ".status" from column p to column 57, p being
// the first blank or dot of the root, looking only after a directory bracket "]" if there is
// one, and never past column 51.
StatusName build_status_path(std::string_view output_root);

// 24 characters of local time, e.g. "Mon Dec  7 13:06:05 2026".
std::string date_stamp();
std::string date_stamp(const std::tm& local_time);

class StatusFile final : public StatusLines {
 public:
  // With `dump_fallback` false a status file that cannot be opened is a FileError at once.
  StatusFile(std::string status_path, std::ostream& console, bool dump_fallback = true);

  // One group of lines (each already laid out, without its newline) to the file, then the
  // same to the console.
  void write_group(const std::vector<std::string>& lines) override;
  // Lines to the file only, and to the console only, for the rare groups whose console text
  // differs from the file's.
  void write_file_only(const std::vector<std::string>& lines);
  void write_console_only(const std::vector<std::string>& lines) override;

  // The file actually written: the built name, or the full name of "dump.status".
  const std::string& path() const { return path_; }
  std::ostream& console() { return console_; }

 private:
  std::ofstream open_status();
  std::ofstream open_fallback(bool first_opening);

  std::string path_;
  std::ostream& console_;
  bool dump_fallback_;
  bool opened_before_ = false;
};

// The first group of every run: the program banner and the two file names.
void write_status_header(StatusFile& status, std::string_view input_path,
                         std::string_view output_root);

// `text` as one free-form line (a leading blank), without its newline.
std::string free_line(std::string_view text);
// A finished free-form line without its newline.
std::string free_line(const textio::FreeLine& line);

// A free-form status line that begins with a fresh date stamp.
std::string stamped_line(std::string_view text);

}  // namespace polysim
