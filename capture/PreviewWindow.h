// The caller's preview window, looked at without touching the caller's own display connection.
#pragma once

#include <xcb/xcb.h>

#include <atomic>
#include <cstdint>
#include <optional>
#include <thread>

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

// A window of the library's own over the whole screen, for a preview shown full screen. The host sees
// no window of its own then; key and button presses on this one go on to the owner window, so that the
// host can end the full screen on a key or a click.
class FullScreenWindow {
 public:
  explicit FullScreenWindow(std::uintptr_t owner);
  FullScreenWindow(const FullScreenWindow&) = delete;
  FullScreenWindow& operator=(const FullScreenWindow&) = delete;
  // The window is gone from the screen when this returns.
  ~FullScreenWindow();

  // 0 when there is no display.
  std::uintptr_t Id() const { return window_; }

 private:
  void PassOnPresses();

  xcb_connection_t* connection_ = nullptr;
  std::uint32_t owner_;
  std::uint32_t window_ = 0;
  std::atomic<bool> closing_ = false;
  std::thread reader_;
};

}  // namespace corvane
