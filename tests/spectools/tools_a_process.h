// Running a spectrum tool as a process against a scratch experiment, and making and reading
// two-dimensional spectra there through the store's C interface.
#pragma once

#include <gtest/gtest.h>
#include <sys/wait.h>

#include <array>
#include <cstdint>
#include <cstdio>
#include <fstream>
#include <functional>
#include <sstream>
#include <string>
#include <vector>

#include "../zq/store_scratch.h"
#include "zq/zq.h"

namespace tools_a {

struct Outcome {
  int status = -1;
  std::string out;  // standard output
  std::string err;  // standard error
};

inline std::string quoted(const std::string& text) {
  std::string result = "'";
  for (char c : text) result += c == '\'' ? std::string("'\\''") : std::string(1, c);
  return result + "'";
}

// Counts of a spectrum with both axes, element (i1, i2) at absolute channel numbers.
struct Spectrum {
  std::array<int, 2> bases{};
  std::array<int, 2> ranges{};
  int layout = 0;
  int type = 0;
  std::vector<std::int32_t> counts;  // axis 1 fastest

  std::int32_t at(int i1, int i2) const {
    return counts.at(static_cast<std::size_t>(i2 - bases[1]) * ranges[0] + (i1 - bases[0]));
  }
};

// Each test gets a connected scratch experiment; run() starts a tool in it with
// EXPERIMENTDIR set and the experiment as working directory.
class ToolProcessTest : public zq_test::StoreTest {
 protected:
  Outcome run(const std::string& tool, const std::vector<std::string>& args) const {
    const std::string err_file = dir_.str() + "/.stderr";
    std::string command = "cd " + quoted(dir_.str()) + " && EXPERIMENTDIR=" + quoted(dir_.str()) +
                          " " + quoted(std::string(IONBEAM_BIN_DIR) + "/" + tool);
    for (const std::string& word : args) {
      command += ' ';
      command += quoted(word);
    }
    command += " 2>";
    command += quoted(err_file);
    Outcome outcome;
    FILE* pipe = popen(command.c_str(), "r");
    if (pipe == nullptr) return outcome;
    std::array<char, 4096> buffer{};
    while (std::size_t n = fread(buffer.data(), 1, buffer.size(), pipe)) {
      outcome.out.append(buffer.data(), n);
    }
    const int status = pclose(pipe);
    outcome.status = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    std::stringstream err;
    err << std::ifstream(err_file).rdbuf();
    outcome.err = err.str();
    return outcome;
  }

  static void make(const std::string& name, std::array<int, 2> bases, std::array<int, 2> ranges,
                   const std::function<std::int32_t(int, int)>& count, int layout = 0,
                   int type = ZQ_INT32) {
    ASSERT_EQ(
        ZQcreate2dSpectrum(name.c_str(), bases[0], ranges[0], bases[1], ranges[1], layout, type),
        0);
    std::vector<std::int32_t> counts;
    for (int k2 = 0; k2 < ranges[1]; ++k2) {
      for (int k1 = 0; k1 < ranges[0]; ++k1) counts.push_back(count(bases[0] + k1, bases[1] + k2));
    }
    ASSERT_EQ(ZQwrite2dSpectrum(name.c_str(), bases[0], ranges[0], bases[1], ranges[1],
                                counts.data(), ZQ_INT32),
              0)
        << ZQerrorMessage(ZQerrno);
  }

  static Spectrum read(const std::string& name) {
    Spectrum spectrum;
    int dim = 0;
    int bases[ZQ_MAX_DIM] = {};
    int ranges[ZQ_MAX_DIM] = {};
    EXPECT_EQ(
        ZQinquireSpectrum(name.c_str(), &dim, bases, ranges, &spectrum.layout, &spectrum.type), 0)
        << ZQerrorMessage(ZQerrno);
    if (dim != 2) return spectrum;
    spectrum.bases = {bases[0], bases[1]};
    spectrum.ranges = {ranges[0], ranges[1]};
    spectrum.counts.resize(static_cast<std::size_t>(ranges[0]) * ranges[1]);
    EXPECT_EQ(ZQread2dSpectrum(name.c_str(), bases[0], ranges[0], bases[1], ranges[1],
                               spectrum.counts.data(), ZQ_INT32),
              0);
    return spectrum;
  }

  static bool exists(const std::string& name) {
    int dim = 0;
    int bases[ZQ_MAX_DIM] = {};
    int ranges[ZQ_MAX_DIM] = {};
    int layout = 0;
    int type = 0;
    return ZQinquireSpectrum(name.c_str(), &dim, bases, ranges, &layout, &type) == 0;
  }

  static std::string calibration(const std::string& name, int axis) {
    char text[ZQ_RECORD_SIZE] = {};
    EXPECT_EQ(ZQreadCalibration(name.c_str(), axis, text), 0);
    return text;
  }

  static std::string information(const std::string& name, int number) {
    char text[ZQ_RECORD_SIZE] = {};
    EXPECT_EQ(ZQreadInformation(name.c_str(), number, text), 0);
    return text;
  }
};

}  // namespace tools_a
