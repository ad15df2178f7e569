// warpcorr / stepcorr: straightens a detector spectrum into the 163 x 119 window. One source
// for both programs; IONBEAM_DISTORTION_TOOL names the build and so its built-in tables.
#include <cstdio>
#include <string>
#include "cli/standard_options.h"

#include "spectools/frame/tool_exit.h"
#include "spectools/warpcorr/corrections_file.h"
#include "spectools/warpcorr/distortion_tool.h"

int main(int argc, char** argv) {
  if (const auto answered = cli::standard_options(argc, argv, IONBEAM_DISTORTION_TOOL))
    return *answered;
  // The corrections-file failure is the one message that goes to the error stream.
  std::string error_stream;
  const int status = spectools::run_tool([&] {
    try {
      return spectools::distortion::run(IONBEAM_DISTORTION_TOOL, argc, argv);
    } catch (const spectools::distortion::CorrectionsFileError& error) {
      error_stream = error.what();
      throw spectools::ToolExit(1, "");
    }
  });
  std::fputs(error_stream.c_str(), stderr);
  return status;
}
