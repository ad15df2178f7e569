// kinecorr: corrects a detector spectrum for the elastic kinematic factor (see README.md).
#include "spectools/frame/tool_exit.h"
#include "spectools/kinecorr/kinecorr_tool.h"

int main(int argc, char** argv) {
  return spectools::run_tool([&] { return spectools::kinecorr::run(argc, argv); });
}
