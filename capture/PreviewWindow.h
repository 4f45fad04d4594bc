// The caller's preview window, looked at without touching the caller's own display connection.
#pragma once

#include <cstdint>
#include <optional>

namespace corvane {

struct WindowSize {
  int width;
  int height;
  bool operator==(const WindowSize&) const = default;
};

// The largest frame side a camera delivers; larger sizes are refused rather than allocated.
inline constexpr int kMaxFrameSide = 4096;

inline bool IsFrameSize(int width, int height) {
  return width > 0 && height > 0 && width <= kMaxFrameSide && height <= kMaxFrameSide;
}

// The client size of an X11 window; empty when there is no display or no such window.
std::optional<WindowSize> ClientSize(std::uintptr_t window);

}  // namespace corvane
