// Reading a spectrum and its calibrations through the store's C interface.
#include "ionplot/spectrum_map.h"

#include <array>
#include <cstdlib>
#include <optional>
#include <vector>

#include "spectools/frame/calibration.h"
#include "zq/zq.h"

namespace ionplot {

namespace {

void check(int result, const std::string& what) {
  if (result != 0) throw PlotError(what + ": " + ZQerrorMessage(ZQerrno));
}

void connect() {
  const char* dir = std::getenv("EXPERIMENTDIR");
  const std::string path = dir ? dir : "";
  check(ZQsetExperimentPath(path.c_str()), "cannot open experiment directory '" + path + "'");
  check(ZQconnectExperiment(path.empty() ? "" : "capabilities"),
        "cannot open experiment directory '" + path + "'");
}

struct Axis {
  std::vector<double> values;
  std::string label, column;
};

Axis axis(const std::string& name, int number, int base, int range) {
  std::array<char, ZQ_RECORD_SIZE> record{};
  check(ZQreadCalibration(name.c_str(), number, record.data()), "spectrum " + name);
  const std::optional<spectools::Calibration> c = spectools::parse_calibration(record.data());
  Axis a;
  for (int k = 0; k < range; ++k)
    a.values.push_back(c ? c->offset + c->slope * (base + k) : double(base + k));
  if (c) {
    a.label = c->word1 + " (" + c->word2 + ")";
    a.column = c->word1 + "_" + c->word2;
  } else {
    a.label = "Channel of axis " + std::to_string(number);
    a.column = "channel" + std::to_string(number);
  }
  return a;
}

}  // namespace

HeatMap spectrum_map(const std::string& name) {
  connect();
  int dim = 0, layout = 0, type = 0;
  std::array<int, ZQ_MAX_DIM> bases{}, ranges{};
  check(ZQinquireSpectrum(name.c_str(), &dim, bases.data(), ranges.data(), &layout, &type),
        "spectrum " + name);
  if (dim != 2)
    throw PlotError("spectrum " + name + " has " + std::to_string(dim) +
                    " axes; the heat map needs 2");
  const Axis x = axis(name, 1, bases[0], ranges[0]);
  const Axis y = axis(name, 2, bases[1], ranges[1]);
  const std::size_t n = static_cast<std::size_t>(ranges[0]) * static_cast<std::size_t>(ranges[1]);
  HeatMap map{"Spectrum " + name, x.label, y.label, x.column, y.column, x.values, y.values, {}};
  if (type == ZQ_FLOAT32) {
    std::vector<float> counts(n);
    check(ZQread2dSpectrum(name.c_str(), bases[0], ranges[0], bases[1], ranges[1], counts.data(),
                           ZQ_FLOAT32),
          "spectrum " + name);
    map.z.assign(counts.begin(), counts.end());
  } else {
    std::vector<std::int32_t> counts(n);  // unsigned 32-bit counts above 2^31 do not convert
    check(ZQread2dSpectrum(name.c_str(), bases[0], ranges[0], bases[1], ranges[1], counts.data(),
                           ZQ_INT32),
          "spectrum " + name);
    map.z.assign(counts.begin(), counts.end());
  }
  return map;
}

}  // namespace ionplot
