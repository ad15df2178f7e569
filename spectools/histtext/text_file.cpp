// Checked writing of histtext's output file.
#include "spectools/histtext/text_file.h"

#include "spectools/frame/failures.h"

namespace spectools::histtext {
namespace {

[[noreturn]] void write_failed() {
  crash("Failed to write to output file");
}

}  // namespace

TextFile::TextFile(const std::string& path) : file_(std::fopen(path.c_str(), "w")) {
  if (!file_) crash("failed to open output file\n");
}

void TextFile::write(std::string_view text) {
  if (!file_) write_failed();
  if (std::fwrite(text.data(), 1, text.size(), file_.get()) != text.size()) write_failed();
}

void TextFile::close() {
  if (!file_) return;
  const bool failed = std::ferror(file_.get()) != 0;
  if (std::fclose(file_.release()) != 0 || failed) write_failed();
}

}  // namespace spectools::histtext
