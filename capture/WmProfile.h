// What the recording branch takes from a Windows Media profile file (".prx", UTF-16 XML).
#pragma once

#include <optional>
#include <string>

namespace corvane {

// The frame rates a camera is recorded at; a profile that names another is recorded at the nearer end.
inline constexpr int kSlowestRate = 1;
inline constexpr int kFastestRate = 120;

// "7.5", "29.97", "120", "0.00001": frames per second as people write them, whatever the locale.
std::string FramesPerSecondText(double framesPerSecond);

// Frames per second as a fraction: 15/2 for 7.5.
struct FrameRate {
  int frames = 30;
  int seconds = 1;
  double PerSecond() const { return static_cast<double>(frames) / seconds; }
  bool operator==(const FrameRate&) const = default;
};

struct WmProfile {
  int width = 320;
  int height = 240;
  int bitrate = 300000;      // bits per second
  FrameRate rate;            // as the profile names it, fractions included
  double cappedRate = 0;     // the frames per second the profile names where they lie outside the rates recorded
  // A time per frame that names no rate (not a whole number of 100 ns from 1 to the largest the field holds), as
  // the profile writes it; such a profile records the rate of one that names none.
  std::string unnamedRate;
  int keyFrameSeconds = 8;   // at most this long between two key frames
  bool operator==(const WmProfile&) const = default;
};

// Empty when the file is missing, is no regular file of a profile's size, is no UTF-16 text, or holds no
// video stream with a size. Never blocks: a pipe or device is no profile. The size is kept as the profile
// names it, also where no camera delivers it (IsFrameSize), so that the start can refuse it and say why.
std::optional<WmProfile> LoadWmProfile(const std::string& path);

}  // namespace corvane
