#include "PreviewWindow.h"

#include <xcb/xcb.h>

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

}  // namespace corvane
