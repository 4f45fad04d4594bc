// A camera's preview, drawn by the library into a window through an X connection of its own. The X
// errors of the drawing come back on that connection alone: the process's X error handler, and with it
// the host's, is never used nor touched, and a window that is gone ends only the drawing into it.
#pragma once

#include "PreviewWindow.h"

#include <gst/gst.h>
#include <gst/video/video.h>
#include <xcb/xcb.h>

#include <condition_variable>
#include <cstdint>
#include <functional>
#include <mutex>
#include <optional>
#include <thread>

namespace corvane {

// How a window takes frames: at its size, in its pixels as the media framework names them.
struct WindowLook {
  WindowSize size;
  GstVideoFormat format;
};

class PreviewDrawer {
 public:
  // why: "its window is gone", or another end of the preview, for the user.
  using Lost = std::function<void(std::uintptr_t window, const char* why)>;

  // Draws the frames that reach the application sink, on a thread of its own, so that neither the camera
  // nor a caller ever waits for the X server. lost is called once for each window that the drawing into
  // ends (the X server gone included), on the drawer's thread or in DrawInto; it may neither wait for
  // the drawer nor tell the user. Made before the sink's graph runs, ended after it stopped.
  PreviewDrawer(GstElement* sink, Lost lost);
  PreviewDrawer(const PreviewDrawer&) = delete;
  PreviewDrawer& operator=(const PreviewDrawer&) = delete;
  ~PreviewDrawer();

  // The frames from now on go into this window, 0 for none, at the size and in the pixels it answers;
  // empty when it takes none. A frame under way into the window before may still reach it.
  std::optional<WindowLook> DrawInto(std::uintptr_t window);

 private:
  struct Target {
    xcb_window_t window = 0;
    WindowLook look{};
    std::uint8_t depth = 0;
    std::uint8_t bitsPerPixel = 0;
    std::uint8_t scanlinePad = 0;
    unsigned serial = 0;  // counts the DrawInto calls, so that an end is laid at its own window's door
  };

  std::optional<Target> Look(xcb_window_t window, const char*& why);
  void Run();
  void Draw(GstSample* sample, const Target& target);
  bool PutShared(const Target& target, const GstVideoFrame& frame, std::size_t rowBytes, xcb_generic_error_t*& error);
  xcb_generic_error_t* PutPlain(const Target& target, const GstVideoFrame& frame, std::size_t rowBytes);
  bool Share(std::size_t bytes);
  void Unshare();
  void End(unsigned serial, std::uintptr_t window, const char* why);
  void FrameArrived();

  GstElement* sink_;
  Lost lost_;
  xcb_connection_t* connection_;

  // Kept by the drawer's thread alone.
  xcb_gcontext_t gc_ = 0;
  unsigned gcServes_ = 0;  // the serial of the target the graphics context was made for
  bool sharing_ = false;   // frames go through memory shared with the server (MIT-SHM)
  std::uint32_t segment_ = 0;
  std::uint8_t* shared_ = nullptr;
  std::size_t sharedBytes_ = 0;

  std::mutex lock_;
  std::condition_variable woken_;
  Target target_;
  unsigned serial_ = 0;
  bool frameWaiting_ = false;
  bool stopping_ = false;
  bool broken_ = false;  // the X server is gone, and was told
  std::thread thread_;
};

}  // namespace corvane
