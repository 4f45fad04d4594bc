// The slot exports as the counter program calls them, without recording anything.

#include "CaptureTestSupport.h"

#include <cstdlib>

namespace capture_test {
namespace {

using ExportsTest = CaptureTest;

TEST_F(ExportsTest, TestCamerasAddToTheDevicesFound) {
  setenv("CORVANE_TEST_DEVICES", "0", 1);
  const int real = corvane_.fnGetDevicesNum();
  setenv("CORVANE_TEST_DEVICES", "3", 1);
  EXPECT_EQ(corvane_.fnGetDevicesNum(), real + 3);
}

TEST_F(ExportsTest, IndexesOutsideTheSlotsAnswerZeroAndTouchNothing) {
  const std::string file = (folder_ / "outside.wmv").string();
  for (int camera : {-1, 8, 1000}) {
    SCOPED_TRACE(camera);
    EXPECT_EQ(corvane_.fnSetWMProfile(camera, CORVANE_PROFILE), 0);
    EXPECT_EQ(corvane_.fnSetVideoName(camera, file.c_str()), 0);
    EXPECT_EQ(corvane_.fnDoStartVideoCapture(camera, 0), 0);
    EXPECT_EQ(corvane_.fnDoStopRestartVideoCapture(camera), 0);
    EXPECT_EQ(corvane_.fnDoStopVideoCapture(camera), 0);
    EXPECT_FALSE(Snapshot(camera));
  }
  EXPECT_FALSE(std::filesystem::exists(file));
  EXPECT_TRUE(ShownErrors().empty());
}

TEST_F(ExportsTest, StoppingASlotNeverStartedIsQuiet) {
  EXPECT_EQ(corvane_.fnDoStopVideoCapture(3), 1);
  EXPECT_TRUE(ShownErrors().empty());
}

TEST_F(ExportsTest, RestartingASlotThatDoesNotRecordStartsNothing) {
  const std::filesystem::path file = folder_ / "restart.wmv";
  corvane_.fnSetWMProfile(5, CORVANE_PROFILE);
  corvane_.fnSetVideoName(5, file.c_str());
  EXPECT_EQ(corvane_.fnDoStopRestartVideoCapture(5), 0);
  EXPECT_FALSE(std::filesystem::exists(file));
  EXPECT_TRUE(ShownErrors().empty());
}

TEST_F(ExportsTest, StartWithoutAVideoNameBuildsNothing) {
  EXPECT_EQ(corvane_.fnSetWMProfile(0, CORVANE_PROFILE), 1);
  EXPECT_EQ(corvane_.fnSetVideoName(0, nullptr), 0);
  EXPECT_EQ(corvane_.fnDoStartVideoCapture(0, 0), 0);
  EXPECT_EQ(ShownErrors(), std::vector<std::string>{"Error 80004003: No video file name set"});
  EXPECT_FALSE(Snapshot(0));
}

TEST_F(ExportsTest, StopDropsTheNamesSoTheNextStartNeedsNewOnes) {
  const std::filesystem::path file = folder_ / "first.wmv";
  ASSERT_EQ(StartRecording(0, file.string()), 1);
  EXPECT_EQ(corvane_.fnDoStopVideoCapture(0), 1);
  std::filesystem::remove(file);

  EXPECT_EQ(corvane_.fnDoStartVideoCapture(0, 0), 0);
  EXPECT_FALSE(std::filesystem::exists(file));
  EXPECT_EQ(ShownErrors(), std::vector<std::string>{"Error 80004003: No video file name set"});
}

TEST_F(ExportsTest, ACameraIndexWithNoCameraBehindItBuildsNothingSilently) {
  const std::filesystem::path file = folder_ / "none.wmv";
  const int missing = corvane_.fnGetDevicesNum();
  ASSERT_LT(missing, 8);
  EXPECT_EQ(StartRecording(missing, file.string()), 0);
  EXPECT_FALSE(std::filesystem::exists(file));
  EXPECT_TRUE(ShownErrors().empty());
}

TEST_F(ExportsTest, AFileThatCannotBeWrittenFailsTheStartWithAMessage) {
  EXPECT_EQ(StartRecording(0, (folder_ / "no such folder" / "a.wmv").string()), 0);
  EXPECT_EQ(ShownErrors(), std::vector<std::string>{"Error 80004005: Cannot start graph"});
  EXPECT_FALSE(Snapshot(0));
}

TEST_F(ExportsTest, SizesMustBePositive) {
  EXPECT_EQ(corvane_.fnSetOutputSize(0, 240), 0);
  EXPECT_EQ(corvane_.fnSetOutputSize(320, -1), 0);
  EXPECT_EQ(corvane_.fnSetOutputVideoSize(-320, 240), 0);
  EXPECT_EQ(corvane_.fnSetOutputSize(320, 240), 1);
  EXPECT_EQ(corvane_.fnSetOutputVideoSize(320, 240), 1);
}

}  // namespace
}  // namespace capture_test
