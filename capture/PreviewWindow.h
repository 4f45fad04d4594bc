// The caller's preview window, looked at without touching the caller's own display connection.
#pragma once

#include <xcb/xcb.h>

#include <atomic>
#include <cstdint>
#include <mutex>
#include <optional>
#include <string>
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

// The renderer draws through Xlib, whose default error handler ends the process: a host that destroys
// the window a camera previews in would end, or hang on its way out. While a thread draws for a camera
// (the camera's streaming threads, the library's own calls into its renderer), its X errors go to that
// camera; every other thread's go on to the handler that was in place before the library's.
class DrawingFailures {
 public:
  // Called inside Xlib, on the thread that met the error: may neither call Xlib nor wait.
  virtual void DrawingFailed() = 0;

 protected:
  ~DrawingFailures() = default;
};

// Xlib has one error handler for the whole process, and the renderer puts its own in and back again around
// what may fail: opening its display, and each shared-memory image it makes. Meanwhile it would hear every
// X error of the process, the host's too, and drop them; so the renderer's calls that put a handler in
// come to the library, which keeps the renderer's handler to the thread that draws and hands it only that
// thread's errors. Where the renderer's calls cannot be had, two threads swapping at once could leave the
// renderer's handler in place for good: whatever may swap the handler holds this turn, and a thread that
// waits for it must hold none of the renderer's locks.
std::unique_lock<std::mutex> TakeXErrorHandlerTurn();

// Puts the library's handler in front of the host's; once, after the first renderer is made from the
// library of that file and before it draws.
void CatchDrawingErrors(const std::string& rendererLibrary);
// Hands the host back its handler, when no other came after the library's: the library is unloaded.
void StopCatchingDrawingErrors();
// From now on, and until LeaveDrawing, the calling thread draws for the camera.
void EnterDrawing(DrawingFailures* camera);
void LeaveDrawing();

// The calling thread draws for the camera while this lives.
class DrawingFor {
 public:
  explicit DrawingFor(DrawingFailures* camera);
  DrawingFor(const DrawingFor&) = delete;
  DrawingFor& operator=(const DrawingFor&) = delete;
  ~DrawingFor();

 private:
  DrawingFailures* before_;
};

// A hidden window of the library's own. A stopped camera's preview draws into it while it waits for the
// next start: the caller may destroy its own window as soon as the stop returns, and a renderer that
// touches a window that is gone ends the whole process.
class ParkingWindow {
 public:
  ParkingWindow();
  ParkingWindow(const ParkingWindow&) = delete;
  ParkingWindow& operator=(const ParkingWindow&) = delete;
  ~ParkingWindow();

  // 0 when there is no display.
  std::uintptr_t Id() const { return window_; }

 private:
  xcb_connection_t* connection_ = nullptr;
  std::uint32_t window_ = 0;
};

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
  WindowSize Size() const { return size_; }

 private:
  void PassOnPresses();

  xcb_connection_t* connection_ = nullptr;
  std::uint32_t owner_;
  std::uint32_t window_ = 0;
  WindowSize size_{};
  std::atomic<bool> closing_ = false;
  std::thread reader_;
};

}  // namespace corvane
