// The commands of specstore. Each returns the text to print on standard output; failures
// end the program through the frame's helpers (ToolExit) or as TextError / zq::Error.
#pragma once

#include <string>
#include <vector>

#include "spectools/frame/usage.h"

namespace specstore {

inline constexpr spectools::ToolUsage kUsage = {
    "specstore",
    "Usage: specstore list | info NAME | import NAME FILE [--base B1[,B2]] [--type CODE] "
    "[--layout L] | export NAME | record NAME KIND N [TEXT]\n",
    false,
    2,
    spectools::kNoLimit,
    ""};

// `args` are the command's own arguments (after the command word).
std::string list_command(const std::vector<std::string>& args);
std::string info_command(const std::vector<std::string>& args);
std::string import_command(const std::vector<std::string>& args);
std::string export_command(const std::vector<std::string>& args);
std::string record_command(const std::vector<std::string>& args);

}  // namespace specstore
