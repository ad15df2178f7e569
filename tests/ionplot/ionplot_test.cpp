// ionplot: reading result files, and every kind of picture drawn by the program into valid
// PNG and SVG files of the asked size, with CSV tables holding the source numbers.
#include <gtest/gtest.h>

#include <array>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>

#include "ionplot/plot.h"
#include "ionplot/result_file.h"
#include "tests/command_output.h"
#include "zq/zq.h"

namespace {

namespace fs = std::filesystem;

const std::string kResult =
    (std::filesystem::path(IONBEAM_TEST_DATA) / "../../polysim/data/result_small.0001").string();
const std::string kData = IONBEAM_TEST_DATA;

class Scratch {
 public:
  Scratch() {
    std::string name = (fs::temp_directory_path() / "ionplot-test.XXXXXX").string();
    if (mkdtemp(name.data()) == nullptr) throw std::runtime_error("mkdtemp failed");
    path_ = name;
  }
  ~Scratch() {
    std::error_code ignored;
    fs::remove_all(path_, ignored);
  }
  std::string file(const std::string& name) const { return (path_ / name).string(); }
  const fs::path& path() const { return path_; }

 private:
  fs::path path_;
};

// Concatenation by appending (building on a string literal with operator+ trips a false
// -Wrestrict warning of GCC 12).
template <typename... Parts>
std::string cat(const Parts&... parts) {
  std::string s;
  ((s += parts), ...);
  return s;
}

ionbeam_test::CommandOutput ionplot(const std::string& args, const std::string& environment = "") {
  return ionbeam_test::run_command(
      cat(environment, " '" IONBEAM_BIN_DIR "/ionplot' ", args, " 2>&1"));
}

std::string contents(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  std::stringstream text;
  text << in.rdbuf();
  return text.str();
}

std::uint32_t big_endian(const std::string& bytes, std::size_t at) {
  std::uint32_t v = 0;
  for (std::size_t i = 0; i < 4; ++i) v = v << 8 | static_cast<unsigned char>(bytes[at + i]);
  return v;
}

// A PNG begins with its signature and the IHDR chunk holding width and height; gnuplot's SVG
// states them as attributes of its root element and closes it.
void expect_picture(const std::string& path, bool svg, int width, int height) {
  const std::string bytes = contents(path);
  if (svg) {
    EXPECT_NE(bytes.find("<svg"), std::string::npos);
    EXPECT_NE(bytes.find("width=\"" + std::to_string(width) + "\" height=\"" +
                         std::to_string(height) + "\""),
              std::string::npos);
    EXPECT_NE(bytes.find("</svg>"), std::string::npos);
    return;
  }
  ASSERT_GT(bytes.size(), 24u);
  EXPECT_EQ(bytes.substr(0, 8), std::string("\x89PNG\r\n\x1a\n", 8));
  EXPECT_EQ(bytes.substr(12, 4), "IHDR");
  EXPECT_EQ(big_endian(bytes, 16), static_cast<std::uint32_t>(width));
  EXPECT_EQ(big_endian(bytes, 20), static_cast<std::uint32_t>(height));
}

TEST(IonplotResultFile, ReadsTablesContinuedOverLinesAndTheModels) {
  const ionplot::ResultCurves c = ionplot::read_result_file(kResult);
  EXPECT_EQ(c.angles, (std::vector<double>{10.0, 12.5, 15.0}));
  EXPECT_EQ(c.total, (std::vector<double>{1.094, 1.406, 1.719}));
  ASSERT_EQ(c.elements.size(), 8u);  // eight types: each row continues on a second line
  EXPECT_EQ(c.elements[3], (std::vector<double>{0.156, 0.219, 0.281}));
  EXPECT_EQ(c.elements[7], (std::vector<double>{0.531, 0.656, 0.781}));
  EXPECT_EQ(c.type_z[7], 17);
  ASSERT_EQ(c.layers.size(), 3u);
  EXPECT_EQ(c.layers[1], (std::vector<double>{0.469, 0.594, 0.719}));
  EXPECT_EQ(c.layer_hitting.size(), 3u);
  EXPECT_EQ(c.label, "result_small.0001: top shift = 0, sigma top = 0.1, sigma second = 0.1");
  EXPECT_THROW(ionplot::read_result_file(kData + "/rfactor2.dat"), ionplot::PlotError);
}

// monosim's layout: its three tables come first, headed "Yield per ... (Layers)", and the
// per-atom table must not be taken for the per-element one.
TEST(IonplotResultFile, ReadsMonosimResultFiles) {
  const ionplot::ResultCurves c =
      ionplot::read_result_file(kData + "/../../monosim/data/result_plain.out");
  EXPECT_EQ(c.angles, (std::vector<double>{120.0, 121.5, 123.0}));
  EXPECT_EQ(c.total, (std::vector<double>{0.207, 0.229, 0.251}));
  EXPECT_EQ(c.type_z, (std::vector<int>{28}));
  ASSERT_EQ(c.elements.size(), 1u);
  EXPECT_EQ(c.elements[0], (std::vector<double>{0.207, 0.229, 0.251}));
  ASSERT_EQ(c.layers.size(), 2u);
  EXPECT_EQ(c.layers[0], (std::vector<double>{0.067, 0.078, 0.089}));
  EXPECT_EQ(c.layers[1], (std::vector<double>{0.140, 0.152, 0.162}));
  EXPECT_EQ(c.layer_hitting, (std::vector<double>{0.020, 0.046}));
  EXPECT_EQ(c.label, "result_plain.out");
}

TEST(IonplotProgram, DrawsEveryKindAsPngOrSvgOfTheAskedSize) {
  const Scratch dir;
  const struct {
    std::string args;
    const char* output;
    bool svg;
  } cases[] = {
      {"blocking OUT " + kResult + " " + kResult, "b.png", false},
      {"--by element blocking OUT " + kResult, "e.svg", true},
      {"--by layer --svg blocking OUT " + kResult, "l.pic", true},
      {"hitting OUT " + kResult, "h.png", false},
      {"skew OUT " + kData + "/skew1.0003", "s.svg", true},
      {"rfactor OUT " + kData + "/rfactor2.dat", "r2.png", false},
      {"rfactor OUT " + kData + "/rfactor.dat", "r.png", false},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.args);
    std::string args = c.args;
    args.replace(args.find("OUT"), 3, cat("'", dir.file(c.output), "'"));
    const ionbeam_test::CommandOutput out = ionplot("--size 640x400 " + args);
    EXPECT_EQ(out.status, 0) << out.output;
    expect_picture(dir.file(c.output), c.svg, 640, 400);
  }
}

// The CSV holds the numbers of the source: here the total signal of the result file and the
// measured and simulated columns of the skew file.
TEST(IonplotProgram, CsvHoldsTheSourceNumbers) {
  const Scratch dir;
  ASSERT_EQ(
      ionplot(cat("--csv '", dir.file("b.csv"), "' blocking '", dir.file("b.png"), "' ", kResult))
          .status,
      0);
  EXPECT_EQ(
      contents(dir.file("b.csv")),
      std::string("series,angle_deg,yield_ml\n") +
          "\"result_small.0001: top shift = 0, sigma top = 0.1, sigma second = 0.1\",10,1.094\n"
          "\"result_small.0001: top shift = 0, sigma top = 0.1, sigma second = 0.1\",12.5,1.406\n"
          "\"result_small.0001: top shift = 0, sigma top = 0.1, sigma second = 0.1\",15,1.719\n");
  ASSERT_EQ(ionplot(cat("--csv '", dir.file("s.csv"), "' skew '", dir.file("s.png"), "' ", kData,
                        "/skew1.0003"))
                .status,
            0);
  const std::string skew = contents(dir.file("s.csv"));
  EXPECT_EQ(skew.rfind("series,angle_deg,intensity\nskew1.0003 measured,130,2.812\n", 0), 0u);
  EXPECT_NE(skew.find("skew1.0003 simulated,137,1.962\n"), std::string::npos);
}

// A 2 x 3 spectrum with calibrated axes: the heat map's axes and the CSV in calibrated units.
TEST(IonplotProgram, SpectrumHeatMapOnCalibratedAxes) {
  const Scratch store;
  ASSERT_EQ(ZQsetExperimentPath(store.path().c_str()), 0);
  ASSERT_EQ(ZQconnectExperiment("capabilities"), 0);
  const std::int32_t counts[6] = {1, 2, 3, 4, 5, 600};
  ASSERT_EQ(ZQcreate2dSpectrum("map", 10, 2, 0, 3, 0, ZQ_INT32), 0);
  ASSERT_EQ(ZQwrite2dSpectrum("map", 10, 2, 0, 3, counts, ZQ_INT32), 0);
  ASSERT_EQ(ZQwriteCalibration("map", 1, "Angle deg 2 -12.0 0.5"), 0);
  ASSERT_EQ(ZQwriteCalibration("map", 2, "Energy keV 2 80.0 0.25"), 0);
  const Scratch out;
  const ionbeam_test::CommandOutput o =
      ionplot(cat("--csv '", out.file("m.csv"), "' spectrum '", out.file("m.png"), "' map"),
              cat("EXPERIMENTDIR='", store.path().string(), "'"));
  ASSERT_EQ(o.status, 0) << o.output;
  expect_picture(out.file("m.png"), false, 800, 560);
  EXPECT_EQ(contents(out.file("m.csv")),
            "Angle_deg,Energy_keV,counts\n-7,80,1\n-6.5,80,2\n-7,80.25,3\n-6.5,80.25,4\n"
            "-7,80.5,5\n-6.5,80.5,600\n");
}

TEST(IonplotProgram, FailuresSayWhy) {
  const Scratch dir;
  const struct {
    std::string args, environment, message;
  } cases[] = {
      {cat("blocking '", dir.file("x.png"), "' ", kResult), "PATH=/nonexistent",
       "ionplot: gnuplot not found on PATH: install it (Debian package gnuplot-nox)\n"},
      {cat("blocking '", dir.file("x.png"), "' ", kData, "/rfactor2.dat"), "",
       "ionplot: " + kData + "/rfactor2.dat: not a polysim or monosim result file\n"},
      {"curves x.png " + kResult, "", "ionplot: unknown kind of plot 'curves'\n"},
      {"--size 10x10 blocking x.png " + kResult, "",
       "ionplot: --size takes WIDTHxHEIGHT in pixels (16 to 10000), not '10x10'\n"},
  };
  for (const auto& c : cases) {
    const ionbeam_test::CommandOutput o = ionplot(c.args, c.environment);
    EXPECT_EQ(o.status, 1);
    EXPECT_EQ(o.output.substr(0, c.message.size()), c.message);
    EXPECT_FALSE(fs::exists(dir.file("x.png")));
  }
}

}  // namespace
