// ionplot's command line.
#pragma once

#include <optional>
#include <string>
#include <vector>

#include "ionplot/gnuplot.h"
#include "ionplot/plots.h"

namespace ionplot {

enum class Kind { blocking, hitting, skew, rfactor, spectrum };

struct Options {
  Kind kind = Kind::blocking;
  Breakdown by = Breakdown::total;
  Picture picture;
  std::optional<std::string> csv;
  std::vector<std::string> sources;
};

// ionplot [--svg] [--csv file] [--size WxH] [--title text] [--by total|element|layer]
//         kind output source...
// Throws PlotError with the fault and the usage line.
Options parse_options(const std::vector<std::string>& args);

inline constexpr const char* kUsage =
    "Usage: ionplot [--svg] [--csv file] [--size WxH] [--title text] "
    "[--by total|element|layer] blocking|hitting|skew|rfactor|spectrum output source...";

}  // namespace ionplot
