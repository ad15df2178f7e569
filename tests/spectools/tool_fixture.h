// A scratch experiment for running the spectrum tools as processes: spectra are made and read
// back through the store in the test process, and run() starts a tool with EXPERIMENTDIR set
// to the experiment and the experiment as its working directory.
#pragma once

#include <gtest/gtest.h>

#include <array>
#include <cstdint>
#include <functional>
#include <span>
#include <string>
#include <vector>

#include "../zq/store_scratch.h"
#include "spectools/frame/records.h"
#include "spectools/frame/shape.h"
#include "tool_process.h"
#include "zq/zq.h"

namespace tool_test {

using Counts = std::vector<std::int32_t>;

// Counts of a two-dimensional spectrum, element (i1, i2) at absolute channel numbers.
struct Spectrum {
  std::array<int, 2> bases{};
  std::array<int, 2> ranges{};
  int layout = 0;
  int type = 0;
  Counts counts;  // axis 1 fastest

  std::int32_t at(int i1, int i2) const {
    return counts.at(static_cast<std::size_t>(i2 - bases[1]) * ranges[0] + (i1 - bases[0]));
  }
};

// A command line a tool must refuse, and the one message it prints.
struct Refusal {
  std::vector<std::string> args;
  std::string output;
};

class ToolProcessTest : public zq_test::StoreTest {
 protected:
  Outcome run(const std::string& tool, const std::vector<std::string>& args) const {
    return run_program(tool, args, dir_.str(), dir_.str());
  }

  // Every refusal ends with exit status 1 and exactly its message (on either stream); none
  // may create `uncreated` when that names a spectrum.
  void expect_refusals(const std::string& tool, std::span<const Refusal> refusals,
                       const std::string& uncreated = "") const {
    for (const Refusal& refusal : refusals) {
      const Outcome outcome = run(tool, refusal.args);
      EXPECT_EQ(outcome.status, 1) << refusal.output;
      EXPECT_EQ(outcome.output(), refusal.output);
      if (!uncreated.empty()) {
        EXPECT_FALSE(exists(uncreated)) << refusal.output;
      }
    }
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
              0)
        << ZQerrorMessage(ZQerrno);
  }

  // A plane whose count at absolute channels (i1, i2) is count(i1, i2).
  static void make(const std::string& name, std::array<int, 2> bases, std::array<int, 2> ranges,
                   const std::function<std::int32_t(int, int)>& count, int layout = 0,
                   int type = ZQ_INT32) {
    Counts counts;
    for (int k2 = 0; k2 < ranges[1]; ++k2) {
      for (int k1 = 0; k1 < ranges[0]; ++k1) counts.push_back(count(bases[0] + k1, bases[1] + k2));
    }
    make_plane(name, bases[0], bases[1], ranges[0], counts, type, layout);
  }

  static spectools::Shape shape_of(const std::string& name) {
    spectools::Shape shape;
    EXPECT_EQ(spectools::inquire(name, shape), 0) << name << ": " << ZQerrorMessage(ZQerrno);
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

  // A two-dimensional spectrum with its description; only the description of another.
  static Spectrum read(const std::string& name) {
    const spectools::Shape shape = shape_of(name);
    Spectrum spectrum;
    spectrum.layout = shape.layout;
    spectrum.type = shape.type;
    if (shape.dim != 2) return spectrum;
    spectrum.bases = {shape.bases[0], shape.bases[1]};
    spectrum.ranges = {shape.ranges[0], shape.ranges[1]};
    spectrum.counts = counts_of(name);
    return spectrum;
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

  static std::string calibration(const std::string& name, int axis) {
    return record(spectools::RecordKind::calibration, name, axis);
  }

  static std::string information(const std::string& name, int number) {
    return record(spectools::RecordKind::information, name, number);
  }
};

}  // namespace tool_test
