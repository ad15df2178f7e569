// The tool frame against a real store: start-up order, error helpers, record copy, run_tool.
#include <gtest/gtest.h>

#include <cstdlib>
#include <optional>
#include <stdexcept>
#include <string>

#include "../zq/store_scratch.h"
#include "exit_of.h"
#include "spectools/frame/failures.h"
#include "spectools/frame/records.h"
#include "spectools/frame/shape.h"
#include "spectools/frame/start_up.h"
#include "spectools/frame/targets.h"
#include "spectools/frame/tool_exit.h"
#include "zq/zq.h"

namespace {

using namespace spectools;
using tool_test::exit_of;
using zq_test::ScratchDir;

// Sets EXPERIMENTDIR (or removes it) for one test and puts the old value back.
class ExperimentVariable {
 public:
  explicit ExperimentVariable(const std::optional<std::string>& value) {
    if (const char* old = std::getenv("EXPERIMENTDIR")) old_ = old;
    if (value) {
      setenv("EXPERIMENTDIR", value->c_str(), 1);
    } else {
      unsetenv("EXPERIMENTDIR");
    }
  }
  ~ExperimentVariable() {
    if (old_) {
      setenv("EXPERIMENTDIR", old_->c_str(), 1);
    } else {
      unsetenv("EXPERIMENTDIR");
    }
  }

 private:
  std::optional<std::string> old_;
};

TEST(StartUp, ExperimentDirectoryFromTheEnvironment) {
  ScratchDir dir;
  const ExperimentVariable variable(dir.str());
  EXPECT_EQ(connect_store(), dir.str());
  ASSERT_EQ(ZQcreate1dSpectrum("made", 0, 1, 0, kCountType), 0);
  EXPECT_TRUE(std::filesystem::exists(dir.path() / "made.h5"));
}

TEST(StartUp, UnsetOrEmptyVariableMeansTheCurrentDirectory) {
  for (const std::optional<std::string>& value :
       {std::optional<std::string>(), std::optional<std::string>("")}) {
    ScratchDir dir;
    const auto previous = std::filesystem::current_path();
    std::filesystem::current_path(dir.path());
    {
      const ExperimentVariable variable(value);
      EXPECT_EQ(connect_store(), "");
      EXPECT_EQ(ZQcreate1dSpectrum("here", 0, 1, 0, kCountType), 0);
    }
    std::filesystem::current_path(previous);
    EXPECT_TRUE(std::filesystem::exists(dir.path() / "here.h5"));
  }
}

TEST(StartUp, StoreFailureIsReportedBeforeAWrongCommandLine) {
  ScratchDir dir;
  const std::string missing = dir.str() + "/gone";
  const ExperimentVariable variable(missing);
  const char* argv[] = {"histcopy", "a"};
  const auto exit = exit_of([&] { start_up(2, argv, usage_of("histcopy")); });
  ASSERT_TRUE(exit);
  EXPECT_EQ(exit->status(), 1);
  EXPECT_EQ(exit->output(),
            "cannot open experiment directory '" + missing + "': No such file or directory\n");
}

TEST(StartUp, WrongCommandLineWithAGoodStorePrintsTheUsage) {
  ScratchDir dir;
  const ExperimentVariable variable(dir.str());
  const char* argv[] = {"flatcorr", "a", "b", "c"};
  const auto exit = exit_of([&] { start_up(4, argv, usage_of("flatcorr")); });
  ASSERT_TRUE(exit);
  EXPECT_EQ(exit->output(), "Usage: flatcorr from_spec to_spec \n");
  const Session session = start_up(3, argv, usage_of("flatcorr"));
  EXPECT_EQ(session.dir, dir.str());
  EXPECT_EQ(session.fromspec, "a");
  EXPECT_EQ(session.tospec, "b");
}

TEST(ErrorHelpers, MessagesAndStatus) {
  ScratchDir dir;
  ASSERT_EQ(ZQsetExperimentPath(dir.str().c_str()), 0);
  ASSERT_EQ(ZQconnectExperiment("capabilities"), 0);
  Shape shape;
  ASSERT_NE(inquire("src", shape), 0);
  const Session session{dir.str(), "src", "dst"};
  EXPECT_EQ(exit_of([&] { session.readfailed(); })->output(), "no such spectrum 'src': src\n");
  EXPECT_EQ(exit_of([&] { session.writefailed(); })->output(), "no such spectrum 'src': dst\n");
  EXPECT_EQ(exit_of([] { ZQcrash(); })->output(), "no such spectrum 'src'\n");
  EXPECT_EQ(exit_of([] { crash("spectra have different dimensions"); })->output(),
            "spectra have different dimensions\n");
  const auto exit = exit_of([] { notimplemented("spectrum not two dimensional"); });
  EXPECT_EQ(exit->status(), 1);
  EXPECT_EQ(exit->output(), "not implemented: spectrum not two dimensional\n");
}

TEST(ErrorHelpers, DimensionChecks) {
  Shape shape;
  shape.dim = 1;
  EXPECT_TRUE(exit_of([&] { require_two_dimensional(shape); }));
  EXPECT_FALSE(exit_of([&] { require_one_or_two_dimensional(shape); }));
  EXPECT_FALSE(exit_of([&] { require_one_dimensional(shape); }));
  shape.dim = 3;
  EXPECT_EQ(exit_of([&] { require_one_or_two_dimensional(shape); })->output(),
            "not implemented: spectrum neither one or two dimensional\n");
  EXPECT_EQ(exit_of([&] { require_one_dimensional(shape); })->output(),
            "not implemented: spectrum not one dimensional\n");
}

TEST(Targets, TargetNamingASourceIsRefused) {
  EXPECT_FALSE(exit_of([] { refuse_source_as_target({"a", "b"}, "c"); }));
  EXPECT_EQ(exit_of([] {
              refuse_source_as_target({"a", "b"}, "b");
            })->output(),
            "target spectrum b is also a source spectrum\n");
}

class RecordCopyTest : public zq_test::StoreTest {
 protected:
  void SetUp() override {
    StoreTest::SetUp();
    ASSERT_EQ(ZQcreate2dSpectrum("src", 0, 2, 0, 2, 0, kCountType), 0);
    ASSERT_EQ(ZQcreate2dSpectrum("dst", 0, 2, 0, 2, 0, kCountType), 0);
    ASSERT_EQ(ZQwriteInformation("src", 1, "sample Au(111)"), 0);
    ASSERT_EQ(ZQwriteInformation("src", 16, "last"), 0);
    ASSERT_EQ(ZQwriteAnnotation("src", 2, "energy"), 0);
    ASSERT_EQ(ZQwriteCalibration("src", 1, "Angle deg 2 10 0.5"), 0);
    ASSERT_EQ(ZQwriteEfficiency("src", 1, "flat"), 0);
    ASSERT_EQ(ZQwriteInformation("dst", 2, "kept"), 0);
  }

  std::string target(RecordKind kind, int number) {
    std::string text;
    EXPECT_EQ(read_record(kind, "dst", number, text), 0);
    return text;
  }
};

TEST_F(RecordCopyTest, NonEmptyRecordsAreCopiedEmptyOnesLeftUnwritten) {
  copy_records("src", "dst", 2);
  EXPECT_EQ(target(RecordKind::information, 1), "sample Au(111)");
  EXPECT_EQ(target(RecordKind::information, 2), "kept");
  EXPECT_EQ(target(RecordKind::information, 16), "last");
  EXPECT_EQ(target(RecordKind::annotation, 2), "energy");
  EXPECT_EQ(target(RecordKind::calibration, 1), "Angle deg 2 10 0.5");
  EXPECT_EQ(target(RecordKind::efficiency, 1), "flat");
  EXPECT_EQ(target(RecordKind::calibration, 2), "");
}

TEST_F(RecordCopyTest, KindsCanBeLeftOutAndRecordsEdited) {
  RecordCopy copy;
  copy.calibration = false;
  copy.edit = [](RecordKind kind, int number, const std::string& text) {
    return kind == RecordKind::information && number == 1 ? text + " {edited}" : text;
  };
  copy_records("src", "dst", 2, copy);
  EXPECT_EQ(target(RecordKind::information, 1), "sample Au(111) {edited}");
  EXPECT_EQ(target(RecordKind::calibration, 1), "");
  EXPECT_EQ(target(RecordKind::efficiency, 1), "flat");
}

TEST_F(RecordCopyTest, FailuresNameTheSpectrumThatFailed) {
  const auto missing_source = exit_of([] { copy_records("nosuch", "dst", 2); });
  ASSERT_TRUE(missing_source);
  EXPECT_EQ(missing_source->output(), "no such spectrum 'nosuch': nosuch\n");
  const auto missing_target = exit_of([] { copy_records("src", "gone", 2); });
  ASSERT_TRUE(missing_target);
  EXPECT_EQ(missing_target->output(), "no such spectrum 'gone': gone\n");
  // An edit that makes a record too long is refused by the store, not cut.
  RecordCopy copy;
  copy.edit = [](RecordKind, int, const std::string& text) { return text + std::string(250, '+'); };
  const auto too_long = exit_of([&] { copy_records("src", "dst", 2, copy); });
  ASSERT_TRUE(too_long);
  EXPECT_NE(too_long->output().find("at most 255 fit: dst\n"), std::string::npos)
      << too_long->output();
}

TEST(RunTool, PrintsTheOutputAndReturnsTheStatus) {
  testing::internal::CaptureStdout();
  EXPECT_EQ(run_tool([] { return std::string("copied spectrum a to spectrum b\n"); }), 0);
  EXPECT_EQ(run_tool([]() -> std::string { crash("Usage: histcopy fromspec tospec"); }), 1);
  EXPECT_EQ(run_tool([]() -> std::string { throw std::runtime_error("broken"); }), 1);
  EXPECT_EQ(testing::internal::GetCapturedStdout(),
            "copied spectrum a to spectrum b\nUsage: histcopy fromspec tospec\nbroken\n");
}

}  // namespace
