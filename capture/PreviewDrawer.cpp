#include "PreviewDrawer.h"

#include <gst/app/gstappsink.h>
#include <xcb/shm.h>

#include <sys/ipc.h>
#include <sys/shm.h>
#include <sys/socket.h>

#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <utility>
#include <vector>

// Every request that may fail is checked where it is made, so that its error comes back as the answer
// to it and none waits unread on the connection. A frame is drawn once the one before is done: the
// server has read the shared memory by then, and a slow server only makes the drawer skip frames.

namespace corvane {
namespace {

constexpr const char* kGone = "its window is gone";
constexpr const char* kColours = "its window's colours cannot be drawn";

bool IsWindowGone(const xcb_generic_error_t* error) {
  return error->error_code == XCB_WINDOW || error->error_code == XCB_DRAWABLE;
}

const xcb_visualtype_t* FindVisual(const xcb_setup_t* setup, xcb_visualid_t id) {
  for (auto screen = xcb_setup_roots_iterator(setup); screen.rem; xcb_screen_next(&screen))
    for (auto depth = xcb_screen_allowed_depths_iterator(screen.data); depth.rem; xcb_depth_next(&depth))
      for (auto visual = xcb_depth_visuals_iterator(depth.data); visual.rem; xcb_visualtype_next(&visual))
        if (visual.data->visual_id == id) return visual.data;
  return nullptr;
}

}  // namespace

PreviewDrawer::PreviewDrawer(GstElement* sink, Lost lost)
    : sink_(sink), lost_(std::move(lost)), connection_(xcb_connect(nullptr, nullptr)) {
  const xcb_query_extension_reply_t* extension = xcb_get_extension_data(connection_, &xcb_shm_id);
  sharing_ = extension && extension->present;
  try {
    thread_ = std::thread(&PreviewDrawer::Run, this);
  } catch (...) {
    xcb_disconnect(connection_);
    throw;
  }
  GstAppSinkCallbacks callbacks{};
  callbacks.new_sample = [](GstAppSink*, gpointer drawer) {
    static_cast<PreviewDrawer*>(drawer)->FrameArrived();
    return GST_FLOW_OK;
  };
  gst_app_sink_set_callbacks(GST_APP_SINK(sink_), &callbacks, this, nullptr);
}

PreviewDrawer::~PreviewDrawer() {
  {
    std::lock_guard lock(lock_);
    stopping_ = true;
  }
  woken_.notify_one();
  // A drawer that waits for a server that does not answer is woken by the end of its connection.
  shutdown(xcb_get_file_descriptor(connection_), SHUT_RDWR);
  thread_.join();
  if (shared_) shmdt(shared_);
  xcb_disconnect(connection_);
}

std::optional<WindowLook> PreviewDrawer::DrawInto(std::uintptr_t window) {
  const char* why = kGone;
  std::optional<Target> looked;
  if (window && window <= UINT32_MAX) looked = Look(static_cast<xcb_window_t>(window), why);
  Target target = looked.value_or(Target{});
  {
    std::lock_guard lock(lock_);
    target.serial = ++serial_;
    target_ = target;
  }
  if (window && !looked) End(target.serial, window, why);
  return looked ? std::optional(looked->look) : std::nullopt;
}

std::optional<PreviewDrawer::Target> PreviewDrawer::Look(xcb_window_t window, const char*& why) {
  const xcb_get_geometry_cookie_t geometryAsked = xcb_get_geometry(connection_, window);
  const xcb_get_window_attributes_cookie_t attributesAsked = xcb_get_window_attributes(connection_, window);
  xcb_get_geometry_reply_t* geometry = xcb_get_geometry_reply(connection_, geometryAsked, nullptr);
  xcb_get_window_attributes_reply_t* attributes = xcb_get_window_attributes_reply(connection_, attributesAsked, nullptr);
  std::optional<Target> target;
  if (geometry && attributes && attributes->_class == XCB_WINDOW_CLASS_INPUT_OUTPUT) {
    target = Target{window, {{geometry->width, geometry->height}, GST_VIDEO_FORMAT_UNKNOWN}, geometry->depth};
    const xcb_setup_t* setup = xcb_get_setup(connection_);
    for (auto format = xcb_setup_pixmap_formats_iterator(setup); format.rem; xcb_format_next(&format)) {
      if (format.data->depth != target->depth) continue;
      target->bitsPerPixel = format.data->bits_per_pixel;
      target->scanlinePad = format.data->scanline_pad;
    }
    // Colours in the pixels themselves: no colour map to keep to.
    const xcb_visualtype_t* visual = FindVisual(setup, attributes->visual);
    if (visual && target->scanlinePad && target->bitsPerPixel > 8 &&
        (visual->_class == XCB_VISUAL_CLASS_TRUE_COLOR || visual->_class == XCB_VISUAL_CLASS_DIRECT_COLOR)) {
      const std::uint32_t colours = visual->red_mask | visual->green_mask | visual->blue_mask;
      const std::uint32_t alpha = target->depth == 32 ? ~colours : 0;
      target->look.format = gst_video_format_from_masks(
          target->depth, target->bitsPerPixel,
          setup->image_byte_order == XCB_IMAGE_ORDER_LSB_FIRST ? G_LITTLE_ENDIAN : G_BIG_ENDIAN, visual->red_mask,
          visual->green_mask, visual->blue_mask, alpha);
      // The framework names its one layout of 30 colour bits in 32 big-endian (r210), whichever byte order
      // it is asked for; a server that sends its pixels least significant byte first holds them as BGR10A2_LE.
      if (target->look.format == GST_VIDEO_FORMAT_r210 && setup->image_byte_order == XCB_IMAGE_ORDER_LSB_FIRST)
        target->look.format = GST_VIDEO_FORMAT_BGR10A2_LE;
    }
    if (target->look.format == GST_VIDEO_FORMAT_UNKNOWN) {
      target.reset();
      why = kColours;
    }
  }
  std::free(geometry);
  std::free(attributes);
  return target;
}

void PreviewDrawer::FrameArrived() {
  {
    std::lock_guard lock(lock_);
    frameWaiting_ = true;
  }
  woken_.notify_one();
}

// The sink keeps only the newest frame: the drawer takes it when it is done with the one before.
void PreviewDrawer::Run() {
  std::unique_lock lock(lock_);
  for (;;) {
    woken_.wait(lock, [this] { return frameWaiting_ || stopping_; });
    if (stopping_) return;
    frameWaiting_ = false;
    const Target target = target_;
    lock.unlock();
    if (GstSample* sample = gst_app_sink_try_pull_sample(GST_APP_SINK(sink_), 0)) {
      if (target.window) Draw(sample, target);
      gst_sample_unref(sample);
    }
    lock.lock();
  }
}

void PreviewDrawer::Draw(GstSample* sample, const Target& target) {
  GstVideoInfo info;
  GstCaps* caps = gst_sample_get_caps(sample);
  GstBuffer* buffer = gst_sample_get_buffer(sample);
  // Frames made for the window before still come for a moment after a change.
  if (!caps || !buffer || !gst_video_info_from_caps(&info, caps) || GST_VIDEO_INFO_FORMAT(&info) != target.look.format)
    return;
  if (gcServes_ != target.serial) {
    if (gc_) xcb_free_gc(connection_, gc_);
    gc_ = xcb_generate_id(connection_);
    gcServes_ = target.serial;
    const xcb_void_cookie_t made = xcb_create_gc_checked(connection_, gc_, target.window, 0, nullptr);
    if (xcb_generic_error_t* error = xcb_request_check(connection_, made)) {
      std::free(error);
      gc_ = 0;
      End(target.serial, target.window, kGone);
      return;
    }
  }
  if (!gc_) return;
  GstVideoFrame frame;
  if (!gst_video_frame_map(&frame, &info, buffer, GST_MAP_READ)) return;
  const std::size_t rowBytes =
      (static_cast<std::size_t>(GST_VIDEO_FRAME_WIDTH(&frame)) * target.bitsPerPixel + target.scanlinePad - 1) /
      target.scanlinePad * target.scanlinePad / 8;
  xcb_generic_error_t* error = nullptr;
  if (!sharing_ || !PutShared(target, frame, rowBytes, error)) error = PutPlain(target, frame, rowBytes);
  gst_video_frame_unmap(&frame);
  const bool gone = error ? IsWindowGone(error) : xcb_connection_has_error(connection_) != 0;
  std::free(error);
  if (gone) End(target.serial, target.window, kGone);
}

// False when the server cannot read memory shared with it (a display on another machine): the frames
// then go by the connection from now on.
bool PreviewDrawer::PutShared(const Target& target, const GstVideoFrame& frame, std::size_t rowBytes,
                              xcb_generic_error_t*& error) {
  const int width = GST_VIDEO_FRAME_WIDTH(&frame), height = GST_VIDEO_FRAME_HEIGHT(&frame);
  const std::size_t bytes = rowBytes * static_cast<std::size_t>(height);
  if (bytes > sharedBytes_ && !Share(bytes)) {
    sharing_ = false;
    return false;
  }
  const auto* pixels = static_cast<const std::uint8_t*>(GST_VIDEO_FRAME_PLANE_DATA(&frame, 0));
  const auto stride = static_cast<std::size_t>(GST_VIDEO_FRAME_PLANE_STRIDE(&frame, 0));
  for (int row = 0; row < height; ++row)
    std::memcpy(shared_ + row * rowBytes, pixels + row * stride, std::min(rowBytes, stride));
  error = xcb_request_check(
      connection_, xcb_shm_put_image_checked(connection_, target.window, gc_, static_cast<std::uint16_t>(width),
                                             static_cast<std::uint16_t>(height), 0, 0,
                                             static_cast<std::uint16_t>(width), static_cast<std::uint16_t>(height),
                                             0, 0, target.depth, XCB_IMAGE_FORMAT_Z_PIXMAP, 0, segment_, 0));
  if (!error || IsWindowGone(error)) return true;
  std::free(std::exchange(error, nullptr));
  Unshare();
  sharing_ = false;
  return false;
}

// A request carries only so many bytes: a large frame goes as strips of rows.
xcb_generic_error_t* PreviewDrawer::PutPlain(const Target& target, const GstVideoFrame& frame, std::size_t rowBytes) {
  const int width = GST_VIDEO_FRAME_WIDTH(&frame), height = GST_VIDEO_FRAME_HEIGHT(&frame);
  const auto* pixels = static_cast<const std::uint8_t*>(GST_VIDEO_FRAME_PLANE_DATA(&frame, 0));
  const auto stride = static_cast<std::size_t>(GST_VIDEO_FRAME_PLANE_STRIDE(&frame, 0));
  if (stride < rowBytes) return nullptr;
  const std::size_t most = xcb_get_maximum_request_length(connection_) * std::size_t{4} - sizeof(xcb_put_image_request_t);
  const int rowsAtOnce = stride == rowBytes ? std::max(1, static_cast<int>(most / rowBytes)) : 1;
  std::vector<xcb_void_cookie_t> strips;
  for (int row = 0; row < height; row += rowsAtOnce) {
    const int rows = std::min(rowsAtOnce, height - row);
    strips.push_back(xcb_put_image_checked(connection_, XCB_IMAGE_FORMAT_Z_PIXMAP, target.window, gc_,
                                           static_cast<std::uint16_t>(width), static_cast<std::uint16_t>(rows), 0,
                                           static_cast<std::int16_t>(row), 0, target.depth,
                                           static_cast<std::uint32_t>(rows * rowBytes), pixels + row * stride));
  }
  xcb_generic_error_t* first = nullptr;
  for (const xcb_void_cookie_t strip : strips) {
    xcb_generic_error_t* error = xcb_request_check(connection_, strip);
    if (first) std::free(error);
    else first = error;
  }
  return first;
}

bool PreviewDrawer::Share(std::size_t bytes) {
  Unshare();
  const int id = shmget(IPC_PRIVATE, bytes, IPC_CREAT | 0600);
  void* memory = id < 0 ? reinterpret_cast<void*>(-1) : shmat(id, nullptr, 0);
  xcb_generic_error_t* error = nullptr;
  if (memory != reinterpret_cast<void*>(-1)) {
    segment_ = xcb_generate_id(connection_);
    error = xcb_request_check(connection_,
                              xcb_shm_attach_checked(connection_, segment_, static_cast<std::uint32_t>(id), 1));
  }
  // Marked for removal once the server holds it too: it goes when both let go, whichever ends first.
  if (id >= 0) shmctl(id, IPC_RMID, nullptr);
  if (memory == reinterpret_cast<void*>(-1) || error || xcb_connection_has_error(connection_)) {
    std::free(error);
    if (memory != reinterpret_cast<void*>(-1)) shmdt(memory);
    return false;
  }
  shared_ = static_cast<std::uint8_t*>(memory);
  sharedBytes_ = bytes;
  return true;
}

void PreviewDrawer::Unshare() {
  if (!shared_) return;
  xcb_shm_detach(connection_, segment_);
  shmdt(std::exchange(shared_, nullptr));
  sharedBytes_ = 0;
}

void PreviewDrawer::End(unsigned serial, std::uintptr_t window, const char* why) {
  {
    std::lock_guard lock(lock_);
    if (stopping_ || broken_ || serial != serial_) return;
    target_.window = 0;
    broken_ = xcb_connection_has_error(connection_) != 0;
  }
  lost_(window, why);
}

}  // namespace corvane
