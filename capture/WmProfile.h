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

// What one camera's encoder keeps up with: 1920x1080 at 30 frames per second takes about a third of one
// core of a counter PC, 4096x4096 twice as much time as the camera gives it. More pixels a second are
// not recorded, rather than recorded with frames lost.
inline constexpr long long kMostPixelsPerSecond = 1920LL * 1080 * 30;

inline bool RecordsInRealTime(const WmProfile& profile) {
  return static_cast<long long>(profile.width) * profile.height * profile.framesPerSecond <= kMostPixelsPerSecond;
}

// Empty when the file is missing, is no regular file of a profile's size, is no UTF-16 text, or holds no
// video stream with a size. Never blocks: a pipe or device is no profile.
std::optional<WmProfile> LoadWmProfile(const std::string& path);

}  // namespace corvane
