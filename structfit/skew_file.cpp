// Writing of the skew file, one formatted line per compared point.
#include "structfit/skew_file.h"

#include <fstream>

#include "structfit/rfactor_errors.h"
#include "textio/fixed_text.h"
#include "textio/format_writer.h"

namespace structfit {

std::string format_skew_lines(const std::vector<SkewLine>& lines) {
  static const textio::Format format("(1X,F7.3,1X,F8.3,1X,F8.3,1X,F8.3,1X,F8.3)");
  std::string text;
  for (const SkewLine& line : lines)
    text += format.write({line.angle, line.measured, line.simulated, line.measured_unscaled,
                          line.simulated_unscaled});
  return text;
}

void write_skew_file(const std::string& name, const std::vector<SkewLine>& lines) {
  const std::string path(textio::trim_trailing(name));
  std::ofstream file(path, std::ios::trunc);
  if (!file) throw SkewFileError("cannot create the skew file " + path);
  file << format_skew_lines(lines);
  file.close();
  if (!file) throw SkewFileError("cannot write the skew file " + path);
}

}  // namespace structfit
