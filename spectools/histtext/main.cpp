// histtext: one-dimensional spectrum to a text file, calibrated when it can be.
#include "spectools/frame/tool_exit.h"
#include "spectools/histtext/histtext.h"

int main(int argc, char** argv) {
  return spectools::run_tool([&] { return spectools::histtext::run(argc, argv); });
}
