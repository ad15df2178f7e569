// histtext's output file: opened for writing (any content replaced), written, and closed,
// each failure ending the tool with one message.
#pragma once

#include <cstdio>
#include <memory>
#include <string>
#include <string_view>

namespace spectools::histtext {

class TextFile {
 public:
  // Ends the tool with "failed to open output file" and an empty line when the file cannot
  // be opened for writing.
  explicit TextFile(const std::string& path);

  // Both end the tool with "Failed to write to output file" when the text cannot be written
  // (a full disk may only show when the file is closed).
  void write(std::string_view text);
  void close();

 private:
  struct Closer {
    void operator()(std::FILE* file) const { std::fclose(file); }
  };
  std::unique_ptr<std::FILE, Closer> file_;
};

}  // namespace spectools::histtext
