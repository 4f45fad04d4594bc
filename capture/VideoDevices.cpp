#include "VideoDevices.h"

#include <algorithm>
#include <cstdlib>
#include <string>

// Real cameras come from the device monitor's "Video/Source" class. CORVANE_TEST_DEVICES=N appends N
// generated cameras, each with a pattern and a caption of its own so that previews can be told apart.
// The caption's clock shows whole seconds: a caption that changes with every frame is drawn anew for
// every frame, which cost as much as all the recording.

namespace corvane {
namespace {

constexpr int kMaxTestDevices = 8;

int TestDeviceCount() {
  const char* value = std::getenv("CORVANE_TEST_DEVICES");
  if (!value) return 0;
  return std::clamp(std::atoi(value), 0, kMaxTestDevices);
}

GList* RealDevices() {
  GstDeviceMonitor* monitor = gst_device_monitor_new();
  gst_device_monitor_add_filter(monitor, "Video/Source", nullptr);
  GList* devices = gst_device_monitor_get_devices(monitor);
  gst_object_unref(monitor);
  return devices;
}

void FreeDevices(GList* devices) { g_list_free_full(devices, gst_object_unref); }

GstElement* MakeTestSource(int testIndex) {
  static const char* const patterns[] = {"smpte", "ball", "pinwheel", "spokes", "circular", "bar", "zone-plate", "gamut"};
  const std::string description =
      std::string("videotestsrc is-live=true pattern=") + patterns[testIndex % kMaxTestDevices] +
      " ! video/x-raw,width=640,height=480,framerate=30/1"
      " ! clockoverlay halignment=left valignment=bottom font-desc=\"Sans 24\" time-format=%H:%M:%S text=\"Test camera " +
      std::to_string(testIndex) + "\"";
  GError* error = nullptr;
  GstElement* source = gst_parse_bin_from_description_full(description.c_str(), TRUE, nullptr,
                                                           GST_PARSE_FLAG_FATAL_ERRORS, &error);
  g_clear_error(&error);
  if (source) gst_object_set_name(GST_OBJECT(source), "CaptureFilter");
  return source;
}

}  // namespace

int CountVideoDevices() {
  GList* devices = RealDevices();
  const int real = static_cast<int>(g_list_length(devices));
  FreeDevices(devices);
  return real + TestDeviceCount();
}

GstElement* MakeVideoSource(int ordinal) {
  if (ordinal < 0) return nullptr;
  GList* devices = RealDevices();
  const int real = static_cast<int>(g_list_length(devices));
  GstElement* source = nullptr;
  if (ordinal < real) {
    source = gst_device_create_element(GST_DEVICE(g_list_nth_data(devices, ordinal)), "CaptureFilter");
  } else if (ordinal - real < TestDeviceCount()) {
    source = MakeTestSource(ordinal - real);
  }
  FreeDevices(devices);
  return source;
}

}  // namespace corvane
