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

// Each file plays, and each begins one frame after the one before it ends. Answers how long each plays.
std::vector<double> ExpectFrameByFrame(const std::vector<std::filesystem::path>& files) {
  std::vector<double> seconds;
  std::optional<FrameTimes> previous;
  for (const auto& file : files) {
    SCOPED_TRACE(file.string());
    EXPECT_TRUE(WaitUntilClosed(file));
    const std::optional<MediaInfo> info = Discover(file);
    const std::optional<FrameTimes> times = ReadFrameTimes(file);
    EXPECT_TRUE(info && times);
    if (!info || !times) return seconds;
    seconds.push_back(info->seconds);
    if (previous) {
      const std::int64_t gap = times->first - previous->last;
      std::cout << file.filename().string() << ": " << gap / 1e6 << " ms after the last frame before\n";
      EXPECT_GE(gap, kFrameInterval - kRounding);
      EXPECT_LE(gap, kFrameInterval + kRounding);
    }
    previous = times;
  }
  return seconds;
}

TEST_F(RotationTest, ConsecutiveFilesFollowFrameByFrame) {
  constexpr int kCameras = 2, kFiles = 5;
  std::vector<std::filesystem::path> files[kCameras];
  const auto name = [&](int camera) {
    files[camera].push_back(folder_ / ("Device " + std::to_string(camera) + "-" +
                                       std::to_string(files[camera].size()) + ".WMV"));
    return files[camera].back().string();
  };
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
  for (int camera = 0; camera < kCameras; ++camera)
    for (const double seconds : ExpectFrameByFrame(files[camera])) EXPECT_NEAR(seconds, 2.0, 0.4);
  EXPECT_TRUE(ShownErrors().empty());
}

// Two starts 30 ms apart, or a restart and a start right after it: the first file keeps at least the
// frame it began with, the second records on, and no frame is lost between them.
TEST_F(RotationTest, TwoStartsCloseTogetherBothRecordFrameByFrame) {
  constexpr int kRounds = 8;
  std::vector<std::filesystem::path> files[kTestCameras];
  const auto start = [&](int camera) {
    files[camera].push_back(folder_ / ("Device " + std::to_string(camera) + "-" +
                                       std::to_string(files[camera].size()) + ".WMV"));
    return StartRecording(camera, files[camera].back().string());
  };
  for (int camera = 0; camera < kTestCameras; ++camera) ASSERT_EQ(start(camera), 1);
  for (int round = 0; round < kRounds; ++round) {
    std::this_thread::sleep_for(1500ms);
    ASSERT_EQ(start(0), 1);
    files[1].push_back(folder_ / ("Device 1-" + std::to_string(files[1].size()) + ".WMV"));
    corvane_.fnSetVideoName(1, files[1].back().c_str());
    ASSERT_EQ(corvane_.fnDoStopRestartVideoCapture(1), 1);
    ASSERT_EQ(start(1), 1);
    std::this_thread::sleep_for(30ms);
    ASSERT_EQ(start(0), 1);
  }
  std::this_thread::sleep_for(1500ms);
  for (int camera = 0; camera < kTestCameras; ++camera) corvane_.fnDoStopVideoCapture(camera);

  for (int camera = 0; camera < kTestCameras; ++camera) {
    const std::vector<double> seconds = ExpectFrameByFrame(files[camera]);
    ASSERT_EQ(seconds.size(), 2u * kRounds + 1);
    for (std::size_t file = 0; file < seconds.size(); file += 2) EXPECT_GE(seconds[file], 1.0) << file;
    for (std::size_t file = 1; file < seconds.size(); file += 2) EXPECT_LT(seconds[file], 0.5) << file;
  }
  EXPECT_TRUE(ShownErrors().empty());
}

}  // namespace
}  // namespace capture_test
