#include "PreviewWindow.h"

#include <cstdlib>

// A connection of our own reports a bad window as a reply error; through Xlib the same mistake would
// run the process's X error handler, which by default ends the program.

namespace corvane {

std::optional<WindowSize> ClientSize(std::uintptr_t window) {
  if (window == 0 || window > UINT32_MAX || !std::getenv("DISPLAY")) return std::nullopt;
  xcb_connection_t* connection = xcb_connect(nullptr, nullptr);
  std::optional<WindowSize> size;
  if (!xcb_connection_has_error(connection)) {
    xcb_generic_error_t* error = nullptr;
    xcb_get_geometry_reply_t* geometry = xcb_get_geometry_reply(
        connection, xcb_get_geometry(connection, static_cast<xcb_drawable_t>(window)), &error);
    if (geometry && geometry->width > 0 && geometry->height > 0) size = WindowSize{geometry->width, geometry->height};
    std::free(geometry);
    std::free(error);
  }
  xcb_disconnect(connection);
  return size;
}

ParkingWindow::ParkingWindow() {
  if (!std::getenv("DISPLAY")) return;
  connection_ = xcb_connect(nullptr, nullptr);
  if (xcb_connection_has_error(connection_)) return;
  const xcb_screen_t* screen = xcb_setup_roots_iterator(xcb_get_setup(connection_)).data;
  window_ = xcb_generate_id(connection_);
  xcb_create_window(connection_, XCB_COPY_FROM_PARENT, window_, screen->root, 0, 0, 1, 1, 0,
                    XCB_WINDOW_CLASS_INPUT_OUTPUT, screen->root_visual, 0, nullptr);
  // Made on the server before another connection, the renderer's, is told about it.
  std::free(xcb_get_input_focus_reply(connection_, xcb_get_input_focus(connection_), nullptr));
}

ParkingWindow::~ParkingWindow() {
  if (connection_) xcb_disconnect(connection_);
}

}  // namespace corvane
