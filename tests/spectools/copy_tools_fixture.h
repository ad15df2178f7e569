// A scratch experiment for running histcopy, regioncopy, histsum and histtext as processes:
// spectra are made and read back through the store's C interface in the test process, the
// tool runs with EXPERIMENTDIR set to the scratch directory and that directory as its
// working directory.
#pragma once

#include <gtest/gtest.h>
#include <sys/wait.h>

#include <array>
#include <cstdint>
#include <cstdio>
#include <string>
#include <vector>

#include "../zq/store_scratch.h"
#include "spectools/frame/records.h"
#include "spectools/frame/shape.h"
#include "zq/zq.h"

namespace copy_tools_test {

using Counts = std::vector<std::int32_t>;

struct Outcome {
  int status;
  std::string output;  // standard output and standard error together
};

inline std::string quoted(const std::string& text) {
  std::string result = "'";
  for (char c : text) result += c == '\'' ? std::string("'\\''") : std::string(1, c);
  return result + "'";
}

class CopyToolsTest : public zq_test::StoreTest {
 protected:
  Outcome run(const std::string& tool, const std::vector<std::string>& args) const {
    std::string command = "cd ";
    command += quoted(dir_.str());
    command += " && EXPERIMENTDIR=";
    command += quoted(dir_.str());
    command += ' ';
    command += quoted(std::string(IONBEAM_BIN_DIR) + "/" + tool);
    for (const std::string& word : args) {
      command += ' ';
      command += quoted(word);
    }
    command += " 2>&1";
    FILE* pipe = popen(command.c_str(), "r");
    if (pipe == nullptr) return {-1, ""};
    std::string output;
    std::array<char, 4096> buffer{};
    while (const std::size_t n = fread(buffer.data(), 1, buffer.size(), pipe)) {
      output.append(buffer.data(), n);
    }
    const int status = pclose(pipe);
    return {WIFEXITED(status) ? WEXITSTATUS(status) : -1, output};
  }

  static void make_line(const std::string& name, int base, const Counts& counts,
                        int type = spectools::kCountType, int layout = 0) {
    const int range = static_cast<int>(counts.size());
    ASSERT_EQ(ZQcreate1dSpectrum(name.c_str(), base, range, layout, type), 0);
    ASSERT_EQ(ZQwrite1dSpectrum(name.c_str(), base, range, counts.data(), spectools::kCountType),
              0);
  }

  // `counts` holds count1 channels of axis 1 per axis-2 channel (axis 1 fastest).
  static void make_plane(const std::string& name, int base1, int base2, int count1,
                         const Counts& counts, int type = spectools::kCountType, int layout = 0) {
    const int count2 = static_cast<int>(counts.size()) / count1;
    ASSERT_EQ(ZQcreate2dSpectrum(name.c_str(), base1, count1, base2, count2, layout, type), 0);
    ASSERT_EQ(ZQwrite2dSpectrum(name.c_str(), base1, count1, base2, count2, counts.data(),
                                spectools::kCountType),
              0);
  }

  static spectools::Shape shape_of(const std::string& name) {
    spectools::Shape shape;
    EXPECT_EQ(spectools::inquire(name, shape), 0) << name;
    return shape;
  }

  static bool exists(const std::string& name) {
    spectools::Shape shape;
    return spectools::inquire(name, shape) == 0;
  }

  // The whole spectrum, axis 1 fastest.
  static Counts counts_of(const std::string& name) {
    const spectools::Shape shape = shape_of(name);
    Counts counts(static_cast<std::size_t>(shape.channels()));
    const int status =
        shape.dim == 1
            ? ZQread1dSpectrum(name.c_str(), shape.bases[0], shape.ranges[0], counts.data(),
                               spectools::kCountType)
            : ZQread2dSpectrum(name.c_str(), shape.bases[0], shape.ranges[0], shape.bases[1],
                               shape.ranges[1], counts.data(), spectools::kCountType);
    EXPECT_EQ(status, 0) << name;
    return counts;
  }

  static std::string record(spectools::RecordKind kind, const std::string& name, int number) {
    std::string text;
    EXPECT_EQ(spectools::read_record(kind, name, number, text), 0);
    return text;
  }

  static void set_record(spectools::RecordKind kind, const std::string& name, int number,
                         const std::string& text) {
    ASSERT_EQ(spectools::write_record(kind, name, number, text), 0);
  }
};

}  // namespace copy_tools_test
