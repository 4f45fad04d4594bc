// What the recording branch takes from a Windows Media profile file (".prx", UTF-16 XML).
#pragma once

#include <optional>
#include <string>

namespace corvane {

struct WmProfile {
  int width = 320;
  int height = 240;
  int bitrate = 300000;      // bits per second
  int framesPerSecond = 30;
  int keyFrameSeconds = 8;   // at most this long between two key frames
  bool operator==(const WmProfile&) const = default;
};

// Empty when the file is missing, is no regular file of a profile's size, is no UTF-16 text, or holds no
// video stream with a size. Never blocks: a pipe or device is no profile. The size is kept as the profile
// names it, also where no camera delivers it (IsFrameSize), so that the start can refuse it and say why.
std::optional<WmProfile> LoadWmProfile(const std::string& path);

}  // namespace corvane
