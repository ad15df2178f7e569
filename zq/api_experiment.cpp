// C entry points for choosing and connecting the experiment.
#include <string>
#include <string_view>

#include "zq/error_state.h"
#include "zq/experiment.h"
#include "zq/zq.h"

namespace {

std::string_view text_argument(const char* text, const char* what) {
  if (text == nullptr) throw zq::Error(ZQ_EBADARG, std::string("null ") + what);
  return text;
}

}  // namespace

extern "C" int ZQsetExperimentPath(const char* directory) {
  return zq::guarded(
      [&] { zq::experiment().set_path(text_argument(directory, "experiment directory")); });
}

extern "C" int ZQconnectExperiment(const char* capabilities) {
  return zq::guarded(
      [&] { zq::experiment().connect(text_argument(capabilities, "connect argument")); });
}

extern "C" int ZQholdChanges(void) {
  return zq::guarded([] { zq::experiment().changes().hold(); });
}

extern "C" int ZQfinishChanges(int keep) {
  return zq::guarded([&] { zq::experiment().changes().finish(keep != 0); });
}
