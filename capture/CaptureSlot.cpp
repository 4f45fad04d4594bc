#include "CaptureSlot.h"

#include "ErrorBox.h"
#include "MediaFramework.h"
#include "TimeStampFilter.h"
#include "VideoDevices.h"
#include "WmProfile.h"

#include <gst/video/videooverlay.h>

#include <initializer_list>

// Graph of one camera:
//   CaptureFilter ! videoconvert ! tee
//     tee. ! queue ! (scaled to the profile) ! TimeStamp2 ! avenc_wmv2 ! asfmux ! filesink
//     tee. ! leaky queue ! TimeStamp [frame grabber] ! (scaled to the window) ! ximagesink or fakesink
// The preview queue drops frames rather than hold the recording back when the display is slow.

namespace corvane {
namespace {

constexpr GstClockTime kStateTimeout = 5 * GST_SECOND;
constexpr GstClockTime kFinishTimeout = 5 * GST_SECOND;

GstElement* Add(GstElement* graph, const char* factory, const char* name = nullptr) {
  GstElement* element = gst_element_factory_make(factory, name);
  if (element) gst_bin_add(GST_BIN(graph), element);
  return element;
}

GstElement* AddCaps(GstElement* graph, const char* description) {
  GstElement* filter = Add(graph, "capsfilter");
  if (!filter) return nullptr;
  GstCaps* caps = gst_caps_from_string(description);
  g_object_set(filter, "caps", caps, nullptr);
  gst_caps_unref(caps);
  return filter;
}

bool Link(std::initializer_list<GstElement*> chain) {
  GstElement* previous = nullptr;
  for (GstElement* element : chain) {
    if (!element || (previous && !gst_element_link(previous, element))) return false;
    previous = element;
  }
  return true;
}

// Nobody runs a loop on the graph's bus: without this filter every state change and quality report of a
// recording would pile up there until the stop. A dropped message is the handler's to release.
GstBusSyncReply KeepEndAndErrors(GstBus*, GstMessage* message, gpointer) {
  if (GST_MESSAGE_TYPE(message) & (GST_MESSAGE_EOS | GST_MESSAGE_ERROR)) return GST_BUS_PASS;
  gst_message_unref(message);
  return GST_BUS_DROP;
}

bool HasError(GstElement* graph) {
  GstBus* bus = gst_element_get_bus(graph);
  GstMessage* error = gst_bus_pop_filtered(bus, GST_MESSAGE_ERROR);
  gst_object_unref(bus);
  if (!error) return false;
  gst_message_unref(error);
  return true;
}

}  // namespace

CCaptureSlot::~CCaptureSlot() { Stop(); }

void CCaptureSlot::DropNames() {
  videoName_.reset();
  profilePath_.reset();
}

bool CCaptureSlot::Start(int cameraIndex, std::uintptr_t ownerWindow, WindowSize previewSize) {
  cameraIndex_ = cameraIndex;
  ownerWindow_ = ownerWindow;
  return Open(previewSize);
}

bool CCaptureSlot::Restart(WindowSize previewSize) { return graph_ && Open(previewSize); }

bool CCaptureSlot::Open(WindowSize previewSize) {
  Stop();
  if (!videoName_ || videoName_->empty()) {
    ShowError("Error %x: No video file name set", kNoPointer);
    return false;
  }
  if (!EnsureMediaFramework()) {
    ShowError("Error %x: Cannot start graph", kFail);
    return false;
  }
  if (Build(previewSize) && Run()) return true;
  TearDown();
  return false;
}

void CCaptureSlot::Stop() {
  if (!graph_) return;
  Finish();
  TearDown();
}

bool CCaptureSlot::Build(WindowSize previewSize) {
  // A camera index with no camera behind it builds nothing and is no error of the graph.
  GstElement* source = MakeVideoSource(cameraIndex_);
  if (!source) return false;

  graph_ = gst_pipeline_new(("Camera " + std::to_string(cameraIndex_)).c_str());
  GstBus* bus = gst_element_get_bus(graph_);
  gst_bus_set_sync_handler(bus, KeepEndAndErrors, nullptr, nullptr);
  gst_object_unref(bus);

  gst_bin_add(GST_BIN(graph_), source);
  GstElement* tee = Add(graph_, "tee");
  if (!Link({source, Add(graph_, "videoconvert"), tee})) {
    ShowError("Error %x: Cannot add Capture to filtergraph", kFail);
    return false;
  }
  GstElement* recording = BuildRecordingBranch();
  GstElement* preview = recording ? BuildPreviewBranch(previewSize) : nullptr;
  return preview && Link({tee, recording}) && Link({tee, preview});
}

GstElement* CCaptureSlot::BuildRecordingBranch() {
  // A profile that cannot be read leaves the writer with the settings of the profile we ship.
  const WmProfile profile = (profilePath_ ? LoadWmProfile(*profilePath_) : std::nullopt).value_or(WmProfile{});

  GstElement* queue = Add(graph_, "queue");
  GstElement* timeStamp = Add(graph_, kTimeStampFactory, "TimeStamp2");
  const std::string size = "video/x-raw,format=BGR,width=" + std::to_string(profile.width) +
                           ",height=" + std::to_string(profile.height) +
                           ",pixel-aspect-ratio=1/1,framerate=" + std::to_string(profile.framesPerSecond) + "/1";
  if (!Link({queue, Add(graph_, "videorate"), Add(graph_, "videoscale"), Add(graph_, "videoconvert"),
             AddCaps(graph_, size.c_str()), timeStamp})) {
    ShowError("Error %x: Cannot add timestamp to filtergraph", kFail);
    return nullptr;
  }

  GstElement* encoder = Add(graph_, "avenc_wmv2");
  GstElement* file = Add(graph_, "filesink");
  if (!encoder || !file ||
      !Link({timeStamp, Add(graph_, "videoconvert"), AddCaps(graph_, "video/x-raw,format=I420"), encoder,
             Add(graph_, "asfmux"), file})) {
    ShowError("Error %x: Cannot Query ASf Writer", kFail);
    return nullptr;
  }
  g_object_set(encoder, "bitrate", profile.bitrate, "gop-size", profile.framesPerSecond * profile.keyFrameSeconds,
               nullptr);
  g_object_set(file, "location", videoName_->c_str(), nullptr);
  return queue;
}

GstElement* CCaptureSlot::BuildPreviewBranch(WindowSize previewSize) {
  GstElement* queue = Add(graph_, "queue");
  GstElement* timeStamp = Add(graph_, kTimeStampFactory, "TimeStamp");
  if (!Link({queue, Add(graph_, "videoconvert"), AddCaps(graph_, "video/x-raw,format=BGR"), timeStamp})) {
    ShowError("Error %x: Cannot add timestamp to filtergraph", kFail);
    return nullptr;
  }
  g_object_set(queue, "leaky", 2, "max-size-buffers", 2u, "max-size-bytes", 0u, "max-size-time", guint64{0}, nullptr);

  GstPad* grabbed = gst_element_get_static_pad(timeStamp, "src");
  gst_pad_add_probe(grabbed, GST_PAD_PROBE_TYPE_BUFFER, GrabFrame, this, nullptr);
  gst_object_unref(grabbed);

  // The preview fills the owner's client area; with no window to draw in, frames are still grabbed.
  const std::optional<WindowSize> window = ClientSize(ownerWindow_);
  GstElement* renderer = Add(graph_, window ? "ximagesink" : "fakesink", "VideoRenderer");
  if (!renderer) {
    ShowError("Error %x: Cannot add sample grabber to filtergraph", kFail);
    return nullptr;
  }
  if (window) {
    previewSize = *window;
    g_object_set(renderer, "handle-events", FALSE, nullptr);
    gst_video_overlay_set_window_handle(GST_VIDEO_OVERLAY(renderer), ownerWindow_);
  }
  const std::string size = "video/x-raw,width=" + std::to_string(previewSize.width) +
                           ",height=" + std::to_string(previewSize.height) + ",pixel-aspect-ratio=1/1";
  if (!Link({timeStamp, Add(graph_, "videoscale"), Add(graph_, "videoconvert"), AddCaps(graph_, size.c_str()),
             renderer})) {
    ShowError("Error %x: Cannot add sample grabber to filtergraph", kFail);
    return nullptr;
  }
  return queue;
}

bool CCaptureSlot::Run() {
  if (gst_element_set_state(graph_, GST_STATE_PLAYING) == GST_STATE_CHANGE_FAILURE) {
    ShowError("Error %x: Cannot start graph", kFail);
    return false;
  }
  const GstStateChangeReturn reached = gst_element_get_state(graph_, nullptr, nullptr, kStateTimeout);
  if (reached == GST_STATE_CHANGE_FAILURE || reached == GST_STATE_CHANGE_ASYNC || HasError(graph_)) {
    ShowError("Error %x: Cannot run graph", reached == GST_STATE_CHANGE_ASYNC ? kTimeout : kFail);
    return false;
  }
  return true;
}

// The writer completes the file's header and index only when end-of-stream reaches it; without this a
// stopped recording does not play.
void CCaptureSlot::Finish() {
  gst_element_send_event(graph_, gst_event_new_eos());
  GstBus* bus = gst_element_get_bus(graph_);
  GstMessage* end = gst_bus_timed_pop_filtered(bus, kFinishTimeout,
                                               static_cast<GstMessageType>(GST_MESSAGE_EOS | GST_MESSAGE_ERROR));
  gst_object_unref(bus);
  if (!end || GST_MESSAGE_TYPE(end) != GST_MESSAGE_EOS) ShowError("Error %x: Cannot stop graph", end ? kFail : kTimeout);
  if (end) gst_message_unref(end);
}

void CCaptureSlot::TearDown() {
  if (graph_) {
    gst_element_set_state(graph_, GST_STATE_NULL);
    gst_object_unref(graph_);
    graph_ = nullptr;
  }
  std::lock_guard lock(frameLock_);
  if (latestFrame_) gst_sample_unref(latestFrame_);
  latestFrame_ = nullptr;
}

GstPadProbeReturn CCaptureSlot::GrabFrame(GstPad* pad, GstPadProbeInfo* info, gpointer slot) {
  auto* self = static_cast<CCaptureSlot*>(slot);
  GstCaps* caps = gst_pad_get_current_caps(pad);
  GstSample* frame = gst_sample_new(GST_PAD_PROBE_INFO_BUFFER(info), caps, nullptr, nullptr);
  if (caps) gst_caps_unref(caps);
  std::lock_guard lock(self->frameLock_);
  if (self->latestFrame_) gst_sample_unref(self->latestFrame_);
  self->latestFrame_ = frame;
  return GST_PAD_PROBE_OK;
}

std::vector<std::uint8_t> CCaptureSlot::Snapshot(const JpegSettings& settings) {
  GstSample* frame = nullptr;
  {
    std::lock_guard lock(frameLock_);
    if (latestFrame_) frame = gst_sample_ref(latestFrame_);
  }
  if (!frame) return {};
  std::vector<std::uint8_t> jpeg = EncodeJpeg(frame, settings);
  gst_sample_unref(frame);
  return jpeg;
}

}  // namespace corvane
