// Where the progress and failure lines of a run go: a status file with its console copy, or
// whatever an in-process caller puts in its place.
#pragma once

#include <string>
#include <vector>

namespace polysim {

class StatusLines {
 public:
  virtual ~StatusLines() = default;
  // One group of lines (each laid out, without its newline) to the record and the console.
  virtual void write_group(const std::vector<std::string>& lines) = 0;
  // Lines for the console only.
  virtual void write_console_only(const std::vector<std::string>& lines) = 0;
};

// Writes nothing: for a reader whose lines another process or the caller writes.
class SilentStatusLines final : public StatusLines {
 public:
  void write_group(const std::vector<std::string>&) override {}
  void write_console_only(const std::vector<std::string>&) override {}
};

}  // namespace polysim
