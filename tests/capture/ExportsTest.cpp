// The slot exports as the counter program calls them, without recording anything.

#include "CaptureTestSupport.h"

#include <gst/gst.h>

#include <sys/stat.h>

#include <chrono>
#include <climits>
#include <cstdlib>
#include <thread>

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

TEST_F(ExportsTest, ACameraIndexWithNoCameraBehindItBuildsNothingAndSaysSo) {
  const std::filesystem::path file = folder_ / "none.wmv";
  const int missing = corvane_.fnGetDevicesNum();
  ASSERT_LT(missing, 8);
  EXPECT_EQ(StartRecording(missing, file.string()), 0);
  EXPECT_FALSE(std::filesystem::exists(file));
  EXPECT_EQ(ShownErrors(), std::vector<std::string>{"Error 8007048f: Cannot start camera " + std::to_string(missing) +
                                                    ": it is not attached (cameras found: " + std::to_string(missing) +
                                                    ")"});
}

TEST_F(ExportsTest, AFileThatCannotBeWrittenFailsTheStartWithAMessage) {
  const std::filesystem::path file = folder_ / "no such folder" / "a.wmv";
  EXPECT_EQ(StartRecording(0, file.string()), 0);
  EXPECT_EQ(ShownErrors(), std::vector<std::string>{"Error 80004005: Cannot create video file \"" + file.string() +
                                                    "\": No such file or directory"});
  EXPECT_FALSE(Snapshot(0));
}

TEST_F(ExportsTest, ACameraWhoseSourceCannotBeMadeSaysSo) {
  gst_init(nullptr, nullptr);
  GstRegistry* registry = gst_registry_get();
  GstPluginFeature* source = gst_registry_lookup_feature(registry, "videotestsrc");
  ASSERT_TRUE(source);
  gst_registry_remove_feature(registry, source);
  const std::filesystem::path file = folder_ / "no camera.wmv";
  EXPECT_EQ(StartRecording(0, file.string()), 0);
  gst_registry_add_feature(registry, source);
  EXPECT_EQ(ShownErrors(), std::vector<std::string>{"Error 80004005: Cannot create video capture filter"});
  EXPECT_FALSE(std::filesystem::exists(file));
}

TEST_F(ExportsTest, SizesOutsideWhatACameraDeliversAreRefused) {
  for (const auto& [width, height] : {std::pair{0, 240}, {320, -1}, {INT_MAX, INT_MAX}, {30000, 30000}, {4097, 240}}) {
    EXPECT_EQ(corvane_.fnSetOutputSize(width, height), 0) << width << "x" << height;
    EXPECT_EQ(corvane_.fnSetOutputVideoSize(width, height), 0) << width << "x" << height;
  }
  EXPECT_EQ(corvane_.fnSetOutputVideoSize(100000, 100000), 0);
  EXPECT_EQ(corvane_.fnSetOutputSize(4096, 4096), 1);
  EXPECT_EQ(corvane_.fnSetOutputSize(320, 240), 1);
  EXPECT_EQ(corvane_.fnSetOutputVideoSize(320, 240), 1);
}

TEST_F(ExportsTest, TheExportsKeptForOldHostsAnswerTheirFixedValues) {
  EXPECT_EQ(corvane_.fnCorvane(), 42);
  for (int argument : {0, -1, 52, INT_MAX}) EXPECT_EQ(corvane_.SomeFunction(argument), 52) << argument;
  EXPECT_EQ(*corvane_.nCorvane, 0);
  CCorvane first;
  CCorvane second;
  EXPECT_EQ(&(second = first), &second);
}

TEST_F(ExportsTest, PortsOutsideOneTo65535AreRefused) {
  for (int port : {0, -1, 65536, INT_MIN}) EXPECT_EQ(corvane_.fnSetOutputPort(port), 0) << port;
  EXPECT_EQ(corvane_.fnSetOutputPort(8080), 1);
  EXPECT_EQ(corvane_.fnSetOutputPort(80), 1);
}

// A profile is read from a regular file only and never waits: each of these records with the shipped
// profile, and the start answers at once.
TEST_F(ExportsTest, AProfileThatIsNoFileFallsBackAtOnce) {
  const std::filesystem::path fifo = folder_ / "fifo.prx";
  ASSERT_EQ(mkfifo(fifo.c_str(), 0600), 0);
  int round = 0;
  for (const std::string& profile : {folder_.string(), std::string("/dev/zero"), fifo.string()}) {
    SCOPED_TRACE(profile);
    const std::filesystem::path file = folder_ / ("profile " + std::to_string(round++) + ".wmv");
    const auto before = std::chrono::steady_clock::now();
    EXPECT_EQ(StartRecording(0, file.string(), profile), 1);
    EXPECT_LT(std::chrono::steady_clock::now() - before, std::chrono::seconds(1));
    std::this_thread::sleep_for(std::chrono::milliseconds(300));
    corvane_.fnDoStopVideoCapture(0);
    ASSERT_TRUE(WaitUntilClosed(file));
    const std::optional<MediaInfo> info = Discover(file);
    ASSERT_TRUE(info);
    EXPECT_EQ(info->width, 320);
  }
  EXPECT_TRUE(ShownErrors().empty());
}

}  // namespace
}  // namespace capture_test
