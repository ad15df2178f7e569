// The minimizer's step log entries and closing report, byte for byte against texts a Fortran
// runtime wrote under the same layouts (data/make_domin_expected.f90).
#include <gtest/gtest.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>

#include "structfit/domin_log.h"
#include "structfit/domin_report.h"

namespace {

std::string read_file(const std::string& path) {
  std::ifstream in(path);
  std::stringstream text;
  text << in.rdbuf();
  return text.str();
}

std::string expected(const char* name) {
  return read_file((std::filesystem::path(IONBEAM_TEST_DATA) / name).string());
}

const std::vector<float> x{1.5F, -0.000123456F, 98765.4F, -2.0F, 0.0F, 3.14159265F};
const std::vector<float> d{-1.0e-7F, 2.5e6F, 0.5F, -0.333333343F, 7.0F, 1.0F};
const std::vector<float> z{0.25F, -1.75F, 1.0e-3F};
const std::vector<float> y{-4.5F, 0.0F, 12.125F};

TEST(DominText, EveryStepLogEntryKind) {
  const std::string path =
      (std::filesystem::temp_directory_path() / ("domin-log-" + std::to_string(getpid()) + ".res"))
          .string();
  std::ofstream(path) << "an older log\n";
  {
    const structfit::StepLog log(path, false);
    log.step_head(7, 0.123456789F, 1234.5F, x, z);
    log.direction(5.25476837F, 1.03125e12F, d);
    log.search_result(0.0123F, 1127.4567F, 25.51F, 3.0F);
    log.update_vectors(0.8F, z, y);
    log.marks(-1.0F, 1.0F);
    log.trial(2048.0F, -0.000976F);
    log.traces(5.25476837F, -4.9e-9F);
    log.scaled_point({x[0], x[1], x[2]}, {d[0], d[1], d[2]}, {x[3], x[4], x[5]},
                     {d[3], d[4], d[5]});
    log.hessian_diagonal({1330.0F, -0.5F, 0.0F}, {0.0274204239F, 1.0F, 1.41421354F});
  }
  EXPECT_EQ(read_file(path), expected("domin_log_expected.txt"));
  std::filesystem::remove(path);
}

TEST(DominText, ReportWithShortProtocolAndOverwideCounter) {
  structfit::MinimizerState st = structfit::make_minimizer_state(2, {0.0F, 0.0F});
  st.termination = structfit::reason::gradient_error;
  st.f = 0.0123456789F;
  st.x = {x[0], x[1]};
  st.g = {-0.000191814F, 12.5F};
  st.function_calls = 63;
  st.gradient_calls = 40;
  st.step = 2;
  st.updates = 1;
  st.noupdates = 12345;
  st.modsteps = 7;
  for (int step = 1; step <= 2; ++step) {
    st.step = step;
    for (int c = 1; c <= structfit::protocol_columns; ++c)
      st.row(c) = static_cast<float>(c) * 0.5F + static_cast<float>(step) * 100.0F;
  }
  st.protocol[12 * structfit::protocol_rows] = -1.0F;
  std::ostringstream out;
  structfit::write_report(st, out);
  EXPECT_EQ(out.str(), expected("domin_report_expected.txt"));

  st.termination = structfit::reason::converged;  // no protocol unless asked for
  std::ostringstream plain;
  structfit::write_report(st, plain);
  EXPECT_EQ(plain.str().find("bfgs short protocol"), std::string::npos);
  st.protocol_flag = 1;
  std::ostringstream asked;
  structfit::write_report(st, asked);
  EXPECT_NE(asked.str().find(" bfgs short protocol \n"), std::string::npos);
}

}  // namespace
