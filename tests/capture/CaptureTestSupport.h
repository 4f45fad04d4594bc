// What the capture tests share: the loaded library with test cameras, the error texts it showed, a
// scratch folder, and readers for the files and images it makes.
#pragma once

#include "CorvaneLibrary.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <filesystem>
#include <optional>
#include <string>
#include <vector>

namespace capture_test {

inline constexpr int kTestCameras = 2;

CorvaneLibrary& Library();

// Every text the library showed since the test began; the library may show them on threads of its own.
std::vector<std::string> ShownErrors();
// The sink the fixture gives the library; a test's own sink passes the texts on to it.
void CollectShownError(const char* text);
// Waits (at most 10 s) until the library has shown a text; empty when it showed none.
std::optional<std::string> NextShownError();

struct MediaInfo {
  double seconds;
  int width;
  int height;
  double framesPerSecond;
};

// What gst-discoverer-1.0 reads of a recorded file; empty when it cannot play it.
std::optional<MediaInfo> Discover(const std::filesystem::path& file);

// Waits (at most 5 s) until the process holds the file open no more: the library finalises a stopped
// recording in the background and closes it last. False when it stayed open.
bool WaitUntilClosed(const std::filesystem::path& file);

// When a recording's frames were taken, from the file itself: the creation time in its header (the
// first frame's capture time) plus each frame's time stamp, in ns since 1970.
struct FrameTimes {
  std::int64_t first;
  std::int64_t last;
  int frames;
};
std::optional<FrameTimes> ReadFrameTimes(const std::filesystem::path& file);

struct Image {
  int width;
  int height;
  std::vector<std::uint8_t> pixels;  // red, green, blue
};

// Empty unless the bytes decode as a whole JPEG.
std::optional<Image> DecodeJpeg(const std::vector<std::uint8_t>& jpeg);

// A camera's snapshot through GetCameraJpeg; empty when it answers 0.
std::optional<std::vector<std::uint8_t>> Snapshot(int camera);

struct HostOutput {
  int exitCode;  // 124 for a host that had not ended after 20 s
  std::string out;
  std::string err;
};

// Runs recording_host with these arguments after the shipped profile, its output kept in the folder.
HostOutput RunHost(const std::filesystem::path& folder, std::vector<std::string> arguments);

// A fresh scratch folder, test cameras on, errors collected, and every slot stopped afterwards.
class CaptureTest : public ::testing::Test {
 protected:
  void SetUp() override;
  void TearDown() override;

  // Names, profile and start as the counter program does them for one interval.
  int StartRecording(int camera, const std::string& file, const std::string& profile = CORVANE_PROFILE,
                     std::uintptr_t window = 0);

  std::filesystem::path folder_;
  CorvaneLibrary& corvane_ = Library();
};

}  // namespace capture_test
