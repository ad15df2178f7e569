// Bounded line reading straight from the stream buffer.
#include "textio/record_input.h"

#include <string>

namespace textio {

LineStatus read_capped_line(std::istream& in, std::string& line) {
  line.clear();
  std::streambuf* const buffer = in.rdbuf();
  if (!in.good() || buffer == nullptr) return LineStatus::end_of_file;
  using Traits = std::istream::traits_type;
  for (;;) {
    const Traits::int_type c = buffer->sbumpc();
    if (Traits::eq_int_type(c, Traits::eof())) {
      in.setstate(line.empty() ? std::ios::eofbit | std::ios::failbit : std::ios::eofbit);
      return line.empty() ? LineStatus::end_of_file : LineStatus::ok;
    }
    if (Traits::to_char_type(c) == '\n') return LineStatus::ok;
    if (line.size() == kMaxLineLength) return LineStatus::too_long;
    line += Traits::to_char_type(c);
  }
}

}  // namespace textio
