// Rotating files the way the counter program does, a stop and a start with a new name, loses no video:
// consecutive files of a camera follow each other frame by frame.

#include "CaptureTestSupport.h"

#include <algorithm>
#include <chrono>
#include <iostream>
#include <thread>

namespace capture_test {
namespace {

using namespace std::chrono_literals;
using RotationTest = CaptureTest;

constexpr std::int64_t kFrameInterval = 1'000'000'000 / 30;
// The container keeps time stamps in whole milliseconds.
constexpr std::int64_t kRounding = 1'500'000;

// A new file of the camera, named after its place among the camera's files.
std::string NextFile(const std::filesystem::path& folder, std::vector<std::filesystem::path>& files, int camera) {
  files.push_back(folder / ("Device " + std::to_string(camera) + "-" + std::to_string(files.size()) + ".WMV"));
  return files.back().string();
}

TEST_F(RotationTest, ConsecutiveFilesFollowFrameByFrame) {
  constexpr int kCameras = 2, kFiles = 5;
  std::vector<std::filesystem::path> files[kCameras];
  const auto name = [&](int camera) { return NextFile(folder_, files[camera], camera); };
  for (int camera = 0; camera < kCameras; ++camera) ASSERT_EQ(StartRecording(camera, name(camera)), 1);

  std::chrono::steady_clock::duration longest{};
  for (int round = 1; round <= kFiles; ++round) {
    std::this_thread::sleep_for(2s);
    for (int camera = 0; camera < kCameras; ++camera) {
      const auto before = std::chrono::steady_clock::now();
      corvane_.fnDoStopVideoCapture(camera);
      if (round < kFiles) {
        ASSERT_EQ(StartRecording(camera, name(camera)), 1);
      }
      longest = std::max(longest, std::chrono::steady_clock::now() - before);
    }
  }
  std::cout << "longest stop-and-start: " << std::chrono::duration<double, std::milli>(longest).count() << " ms\n";
  RecordProperty("longest_stop_and_start_us",
                 static_cast<int>(std::chrono::duration_cast<std::chrono::microseconds>(longest).count()));

  // Each file's frames lie at its creation time plus their time stamps.
  for (int camera = 0; camera < kCameras; ++camera) {
    std::optional<FrameTimes> previous;
    for (const auto& file : files[camera]) {
      SCOPED_TRACE(file.string());
      ASSERT_TRUE(WaitUntilClosed(file));
      const std::optional<MediaInfo> info = Discover(file);
      ASSERT_TRUE(info);
      EXPECT_NEAR(info->seconds, 2.0, 0.4);
      const std::optional<FrameTimes> times = ReadFrameTimes(file);
      ASSERT_TRUE(times);
      if (previous) {
        const std::int64_t gap = times->first - previous->last;
        std::cout << file.filename().string() << ": " << gap / 1e6 << " ms after the last frame before\n";
        EXPECT_GE(gap, kFrameInterval - kRounding);
        EXPECT_LE(gap, kFrameInterval + kRounding);
      }
      previous = times;
    }
  }
  EXPECT_TRUE(ShownErrors().empty());
}

// Two starts 30 ms apart, or a restart and a start right after it: both record, the first file keeping
// at least the frame it began with, the second the rest.
TEST_F(RotationTest, TwoStartsCloseTogetherBothRecord) {
  std::vector<std::filesystem::path> files[kTestCameras];
  const auto start = [&](int camera) { return StartRecording(camera, NextFile(folder_, files[camera], camera)); };
  ASSERT_TRUE(start(0) && start(1));
  for (int round = 0; round < 8; ++round) {
    std::this_thread::sleep_for(1500ms);
    corvane_.fnSetVideoName(1, NextFile(folder_, files[1], 1).c_str());
    ASSERT_TRUE(start(0) && corvane_.fnDoStopRestartVideoCapture(1) && start(1));
    std::this_thread::sleep_for(30ms);
    ASSERT_EQ(start(0), 1);
  }
  std::this_thread::sleep_for(1500ms);
  for (int camera = 0; camera < kTestCameras; ++camera) {
    corvane_.fnDoStopVideoCapture(camera);
    for (std::size_t file = 0; file < files[camera].size(); ++file) {
      ASSERT_TRUE(WaitUntilClosed(files[camera][file]));
      const std::optional<MediaInfo> info = Discover(files[camera][file]);
      ASSERT_TRUE(info) << files[camera][file];
      EXPECT_TRUE(file % 2 ? info->seconds < 0.5 : info->seconds >= 1.0) << files[camera][file] << ": "
                                                                          << info->seconds;
    }
  }
  EXPECT_TRUE(ShownErrors().empty());
}

}  // namespace
}  // namespace capture_test
