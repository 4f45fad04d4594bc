#include "CaptureSlot.h"

#include "ErrorBox.h"
#include "MediaFramework.h"
#include "TimeStampFilter.h"
#include "VideoDevices.h"

#include <algorithm>
#include <climits>
#include <initializer_list>
#include <utility>

// Graph of one camera:
//   CaptureFilter ! videoconvert ! tee
//     tee. ! (the profile's rate) ! leaky queue ! (scaled to the profile) ! TimeStamp2 ! I420
//          ! queue [cut here] ! VideoFile
//     tee. ! leaky queue ! TimeStamp [frame grabber] ! (scaled to the window) ! appsink [PreviewDrawer]
//                                                or, with no window to draw in, ! fakesink
// The preview queue drops frames rather than hold the recording back when the display is slow, and the
// drawer takes frames from the sink on a thread of its own: nothing of the preview waits for the X server
// or for the drawing, and whatever befalls the window or the server is the drawer's alone. The
// recording's last queue keeps the frames that come while a file is cut and the next one not yet there.
// Where the machine cannot scale and encode the profile's frames as fast as they come, the recording
// drops them at its first queue, after the rate is converted (a frame dropped before would come back as a
// copy of the one before it, to be scaled and encoded all the same), and each file tells how many it lost.

namespace corvane {
namespace {

constexpr GstClockTime kStateTimeout = 5 * GST_SECOND;
constexpr GstClockTime kFinishTimeout = 5 * GST_SECOND;
// A stopped camera runs on this long for a start that carries on into a new file, then ends.
constexpr auto kUnclaimedFor = std::chrono::seconds(1);
// How far the scaling may fall behind the camera before frames are dropped, in the camera's time.
constexpr GstClockTime kBehindAtMost = GST_SECOND;
// The frames waiting to be encoded: those that come while a file is cut and the next one not yet there,
// and those the encoder falls behind with. Bounded in memory too, whatever the profile's size.
constexpr guint64 kHeldAtMost = GST_SECOND;
constexpr guint kHeldBytesAtMost = 256u << 20;

GstElement* Add(GstElement* graph, const char* factory, const char* name = nullptr) {
  GstElement* element = gst_element_factory_make(factory, name);
  if (element) gst_bin_add(GST_BIN(graph), element);
  return element;
}

void SetCaps(GstElement* filter, const std::string& description) {
  GstCaps* caps = gst_caps_from_string(description.c_str());
  g_object_set(filter, "caps", caps, nullptr);
  gst_caps_unref(caps);
}

GstElement* AddCaps(GstElement* graph, const std::string& description) {
  GstElement* filter = Add(graph, "capsfilter");
  if (filter) SetCaps(filter, description);
  return filter;
}

std::string PreviewCaps(const WindowLook& look) {
  return std::string("video/x-raw,format=") + gst_video_format_to_string(look.format) +
         ",width=" + std::to_string(look.size.width) + ",height=" + std::to_string(look.size.height) +
         ",pixel-aspect-ratio=1/1";
}

bool Link(std::initializer_list<GstElement*> chain) {
  GstElement* previous = nullptr;
  for (GstElement* element : chain) {
    if (!element || (previous && !gst_element_link(previous, element))) return false;
    previous = element;
  }
  return true;
}

bool HasError(GstElement* graph) {
  GstBus* bus = gst_element_get_bus(graph);
  const bool failed = TakeFailure(bus).has_value();
  gst_object_unref(bus);
  return failed;
}

struct BusWatch {
  CCaptureSlot* slot;
  unsigned graph;
};

std::string WithSlashes(const char* path) {
  std::string text(path);
  std::replace(text.begin(), text.end(), '\\', '/');
  return text;
}

}  // namespace

CCaptureSlot::~CCaptureSlot() {
  worker_.Cancel(this);
  TellFailure();
  {
    std::lock_guard life(lifeLock_);
    TearDown();
  }
  // A failure met while the graph ended was told by its finish; the job it left must not outlive the slot.
  worker_.Cancel(this);
}

void CCaptureSlot::SetVideoName(const char* path) { videoName_ = WithSlashes(path); }

void CCaptureSlot::SetProfilePath(const char* path) { profilePath_ = WithSlashes(path); }

void CCaptureSlot::DropNames() {
  videoName_.reset();
  profilePath_.reset();
}

bool CCaptureSlot::Start(int cameraIndex, std::uintptr_t ownerWindow) {
  TellFailure();
  std::lock_guard life(lifeLock_);
  if (!videoName_ || videoName_->empty()) {
    ShowError("Error %x: No video file name set", kNoPointer);
    return false;
  }
  if (!EnsureMediaFramework()) {
    ShowError("Error %x: Cannot start graph", kFail);
    return false;
  }
  // A profile that cannot be read leaves the writer with the settings of the profile we ship.
  const Needs needs{cameraIndex, ownerWindow,
                    (profilePath_ ? LoadWmProfile(*profilePath_) : std::nullopt).value_or(WmProfile{})};
  if (!IsFrameSize(needs.profile.width, needs.profile.height)) {
    ShowError("Error %x: Cannot record %dx%d as the profile \"%s\" asks: each side runs from 1 to %d pixels",
              kInvalidArgument, needs.profile.width, needs.profile.height, profilePath_->c_str(), kMaxFrameSide);
    return false;
  }
  if (CanCarryOn(needs)) {
    std::unique_ptr<VideoFile> file = VideoFile::Create(*videoName_, needs.profile, timeBase_);
    return file && CarryOn(std::move(file), needs.ownerWindow);
  }
  TearDown();
  if (!Open(needs)) return false;
  // Told as the camera starts with the profile, not again for each file it carries on into.
  if (needs.profile.cappedRate > 0)
    ShowError("Error %x: Cannot record %s frames per second as the profile \"%s\" asks: it records %s, as rates run "
              "from %d to %d",
              kInvalidArgument, FramesPerSecondText(needs.profile.cappedRate).c_str(), profilePath_->c_str(),
              FramesPerSecondText(needs.profile.rate.PerSecond()).c_str(), kSlowestRate, kFastestRate);
  if (!needs.profile.unnamedRate.empty())
    ShowError("Error %x: Cannot record a time per frame of \"%s\" as the profile \"%s\" asks: it records %s frames per "
              "second, as a time per frame is a whole number of 100 ns, from 1 to %lld",
              kInvalidArgument, needs.profile.unnamedRate.c_str(), profilePath_->c_str(),
              FramesPerSecondText(needs.profile.rate.PerSecond()).c_str(), LLONG_MAX);
  return true;
}

bool CCaptureSlot::Restart() {
  int cameraIndex = 0;
  std::uintptr_t ownerWindow = 0;
  {
    std::lock_guard life(lifeLock_);
    if (!graph_ || !recording_) return false;
    cameraIndex = builtFor_.cameraIndex;
    ownerWindow = builtFor_.ownerWindow;
  }
  return Start(cameraIndex, ownerWindow);
}

bool CCaptureSlot::CanCarryOn(const Needs& needs) const {
  return graph_ && needs.cameraIndex == builtFor_.cameraIndex && needs.profile == builtFor_.profile &&
         (needs.ownerWindow == builtFor_.ownerWindow || (drawer_ && needs.ownerWindow));
}

// The running graph takes the new file at its next frame.
bool CCaptureSlot::CarryOn(std::unique_ptr<VideoFile> file, std::uintptr_t window) {
  gst_bin_add(GST_BIN(graph_), file->Element());
  if (!gst_element_sync_state_with_parent(file->Element())) {
    ForgetFailureOf(file->Element());
    Forget(std::move(file));
    ShowError("Error %x: Cannot start recording into \"%s\"", kFail, videoName_->c_str());
    return false;
  }
  const GstClockTime now = Now();
  {
    std::lock_guard switching(switchLock_);
    file->CountDropped(std::exchange(unclaimedDrops_, 0));
    if (holding_) {
      gst_pad_link(branchEnd_, file->Input());
      current_ = std::move(file);
      gst_pad_remove_probe(branchEnd_, cut_);
      cut_ = 0;
      holding_ = false;
    } else {
      if (VideoFile* last = LastFile()) last->EndAt(now);
      next_.push_back(std::move(file));
      CutAtItsEnd();
    }
    recording_ = true;
  }
  ShowIn(window);
  ++generation_;
  return true;
}

// The preview of a start goes into its window, at that window's size as it is now; a full screen ends
// as it moves.
void CCaptureSlot::ShowIn(std::uintptr_t window) {
  if (window == builtFor_.ownerWindow) {
    if (!previewLost_) Show(fullScreen_ ? fullScreen_->Id() : window);
    return;
  }
  builtFor_.ownerWindow = window;
  previewLost_ = false;
  Show(window);
  fullScreen_.reset();
}

// A file that left the graph before its first frame: no recording, so no file either.
void CCaptureSlot::Forget(std::unique_ptr<VideoFile> file) {
  if (!file) return;
  gst_bin_remove(GST_BIN(graph_), file->Element());
  file->DiscardIfEmpty();
}

// The scaler follows the caps at its next frame; the grabber before it goes on as it was.
void CCaptureSlot::Show(std::uintptr_t window) {
  if (!drawer_) return;
  if (const std::optional<WindowLook> look = drawer_->DrawInto(window)) SetCaps(previewScale_, PreviewCaps(*look));
}

// Most likely the host destroyed the window, or the X server went. The camera records on; the host may
// show the preview again with its next start into another window.
void CCaptureSlot::PreviewLost(unsigned graph, std::uintptr_t window, const char* why) {
  HeldErrors held;
  std::lock_guard life(lifeLock_);
  if (graph != graphSerial_ || !drawer_) return;
  if (window == builtFor_.ownerWindow) {
    // The drawing and a start into the window may both have met its end.
    if (std::exchange(previewLost_, true)) return;
  } else if (!fullScreen_ || window != fullScreen_->Id()) {
    return;
  }
  ShowError("Error %x: Camera %d shows no preview: %s", kInvalidWindow, builtFor_.cameraIndex, why);
}

void CCaptureSlot::ShowFullScreen() {
  std::lock_guard life(lifeLock_);
  if (!drawer_ || !recording_ || fullScreen_) return;
  auto window = std::make_unique<FullScreenWindow>(builtFor_.ownerWindow);
  if (!window->Id()) return;
  fullScreen_ = std::move(window);
  Show(fullScreen_->Id());
}

// The full-screen window goes once nothing is drawn into it, so that its end is not taken for a loss.
void CCaptureSlot::HideFullScreen() {
  std::lock_guard life(lifeLock_);
  if (!fullScreen_) return;
  Show(previewLost_ ? 0 : builtFor_.ownerWindow);
  fullScreen_.reset();
}

GstClockTime CCaptureSlot::Now() const {
  const GstClockTime now = gst_element_get_current_running_time(graph_);
  return GST_CLOCK_TIME_IS_VALID(now) ? now : 0;
}

VideoFile* CCaptureSlot::LastFile() const { return next_.empty() ? current_.get() : next_.back().get(); }

void CCaptureSlot::CutAtItsEnd() {
  if (!cut_)
    cut_ = gst_pad_add_probe(branchEnd_, static_cast<GstPadProbeType>(GST_PAD_PROBE_TYPE_BLOCK | GST_PAD_PROBE_TYPE_BUFFER),
                             SwitchFiles, this, nullptr);
}

GstPadProbeReturn CCaptureSlot::SwitchFiles(GstPad* pad, GstPadProbeInfo* info, gpointer slot) {
  auto* self = static_cast<CCaptureSlot*>(slot);
  std::shared_ptr<VideoFile> finished;
  GstPadProbeReturn result = GST_PAD_PROBE_OK;
  {
    std::lock_guard switching(self->switchLock_);
    if (GST_PAD_PROBE_INFO_ID(info) != self->cut_) return GST_PAD_PROBE_REMOVE;
    if (self->current_ && (!self->current_->HasFrame() ||
                           self->current_->TakesFrameOf(RunningTime(pad, GST_PAD_PROBE_INFO_BUFFER(info)))))
      return GST_PAD_PROBE_PASS;
    if (self->current_) {
      gst_pad_unlink(pad, self->current_->Input());
      finished = std::move(self->current_);
    }
    if (!self->next_.empty()) {
      gst_pad_link(pad, self->next_.front()->Input());
      self->current_ = std::move(self->next_.front());
      self->next_.pop_front();
      // This file is cut in turn, once it has its frame, when another waits or the camera was stopped.
      if (self->next_.empty() && self->recording_) {
        self->cut_ = 0;
        result = GST_PAD_PROBE_REMOVE;
      } else {
        result = GST_PAD_PROBE_PASS;
      }
    } else {
      self->holding_ = true;
    }
  }
  if (finished) {
    gst_bin_remove(GST_BIN(self->graph_), finished->Element());
    self->worker_.Post([finished] { finished->Finish(); });
  }
  return result;
}

void CCaptureSlot::Stop() {
  TellFailure();
  std::lock_guard life(lifeLock_);
  if (!graph_) return;
  const GstClockTime now = Now();
  {
    std::lock_guard switching(switchLock_);
    if (!recording_) return;
    if (VideoFile* last = LastFile()) last->EndAt(now);
    recording_ = false;
    CutAtItsEnd();
  }
  // The caller may destroy its window as soon as the stop returns.
  Show(0);
  fullScreen_.reset();
  {
    std::lock_guard frame(frameLock_);
    if (latestFrame_) gst_sample_unref(latestFrame_);
    latestFrame_ = nullptr;
  }
  const unsigned generation = ++generation_;
  worker_.PostAt(Worker::Clock::now() + kUnclaimedFor, this, [this, generation] { EndUnclaimed(generation); });
}

void CCaptureSlot::EndUnclaimed(unsigned generation) {
  HeldErrors held;
  std::lock_guard life(lifeLock_);
  if (generation == generation_) TearDown();
}

bool CCaptureSlot::Open(const Needs& needs) {
  // An index past the cameras, or a camera unplugged since the host counted them.
  if (const int cameras = CountVideoDevices(); needs.cameraIndex >= cameras) {
    ShowError("Error %x: Cannot start camera %d: it is not attached (cameras found: %d)", kNotConnected,
              needs.cameraIndex, cameras);
    return false;
  }
  timeBase_ = std::make_shared<VideoFile::TimeBase>();
  std::unique_ptr<VideoFile> file = VideoFile::Create(*videoName_, needs.profile, timeBase_);
  if (!file) return false;
  if (Build(needs)) {
    gst_bin_add(GST_BIN(graph_), file->Element());
    if (gst_pad_link(branchEnd_, file->Input()) == GST_PAD_LINK_OK) {
      current_ = std::move(file);
      if (Run()) {
        recording_ = true;
        ++generation_;
        return true;
      }
      std::lock_guard switching(switchLock_);
      file = std::move(current_);
    } else {
      ShowError("Error %x: Cannot connect the camera to the video encoder", kFail);
    }
  }
  TearDown();
  file->DiscardIfEmpty();
  return false;
}

bool CCaptureSlot::Build(const Needs& needs) {
  GstElement* source = MakeVideoSource(needs.cameraIndex);
  if (!source) {
    ShowError("Error %x: Cannot create video capture filter", kFail);
    return false;
  }
  graph_ = gst_pipeline_new(("Camera " + std::to_string(needs.cameraIndex)).c_str());
  GstBus* bus = gst_element_get_bus(graph_);
  gst_bus_set_sync_handler(bus, WatchBus, new BusWatch{this, ++graphSerial_},
                           [](gpointer watch) { delete static_cast<BusWatch*>(watch); });
  gst_object_unref(bus);

  gst_bin_add(GST_BIN(graph_), source);
  GstElement* tee = Add(graph_, "tee");
  if (!Link({source, Add(graph_, "videoconvert"), tee})) {
    ShowError("Error %x: Cannot add Capture to filtergraph", kFail);
    return false;
  }
  builtFor_ = needs;
  scaled_ = GST_CLOCK_TIME_NONE;
  droppedSince_ = 0;
  GstElement* recording = BuildRecordingBranch(needs.profile);
  GstElement* preview = recording ? BuildPreviewBranch() : nullptr;
  return preview && Link({tee, recording}) && Link({tee, preview});
}

GstElement* CCaptureSlot::BuildRecordingBranch(const WmProfile& profile) {
  GstElement* queue = Add(graph_, "queue");
  GstElement* timeStamp = Add(graph_, kTimeStampFactory, "TimeStamp2");
  GstElement* held = Add(graph_, "queue", "Held");
  const std::string size = "video/x-raw,format=BGR,width=" + std::to_string(profile.width) +
                           ",height=" + std::to_string(profile.height) +
                           ",pixel-aspect-ratio=1/1,framerate=" + std::to_string(profile.rate.frames) + "/" +
                           std::to_string(profile.rate.seconds);
  // The rate converter starts at the camera's first frame rather than making up frames before it.
  GstElement* rate = Add(graph_, "videorate");
  if (rate) g_object_set(rate, "skip-to-first", TRUE, nullptr);
  if (!Link({rate, queue, Add(graph_, "videoscale"), Add(graph_, "videoconvert"),
             AddCaps(graph_, size), timeStamp, Add(graph_, "videoconvert"),
             AddCaps(graph_, "video/x-raw,format=I420"), held})) {
    ShowError("Error %x: Cannot add timestamp to filtergraph", kFail);
    return nullptr;
  }
  // The camera never waits for the recording: where the scaling falls further behind, the oldest frames
  // that wait for it are dropped.
  gst_util_set_object_arg(G_OBJECT(queue), "leaky", "downstream");
  g_object_set(queue, "max-size-buffers", 0u, "max-size-bytes", 0u, "max-size-time", kBehindAtMost, nullptr);
  GstPad* taken = gst_element_get_static_pad(queue, "src");
  gst_pad_add_probe(taken, GST_PAD_PROBE_TYPE_BUFFER, TakeToScale, this, nullptr);
  gst_object_unref(taken);
  g_object_set(held, "max-size-buffers", 0u, "max-size-bytes", kHeldBytesAtMost, "max-size-time", kHeldAtMost, nullptr);
  branchEnd_ = gst_element_get_static_pad(held, "src");
  return rate;
}

// Frames the scaling takes more than a second after they were taken are dropped as it comes to them, so
// that it catches up with the camera also when no new frame pushes them out of the queue (a camera that
// ends). The rate converter leaves no gap between frames: a gap after it is frames dropped by the queue.
GstPadProbeReturn CCaptureSlot::TakeToScale(GstPad* pad, GstPadProbeInfo* info, gpointer slot) {
  auto* self = static_cast<CCaptureSlot*>(slot);
  GstBuffer* frame = GST_PAD_PROBE_INFO_BUFFER(info);
  const GstClockTime taken = RunningTime(pad, frame);
  const GstClockTime interval = GST_BUFFER_DURATION(frame);
  if (!GST_CLOCK_TIME_IS_VALID(taken) || !GST_CLOCK_TIME_IS_VALID(interval) || interval == 0)
    return GST_PAD_PROBE_OK;
  const GstClockTime previous = std::exchange(self->scaled_, taken);
  const GstClockTime now = gst_element_get_current_running_time(GST_ELEMENT(GST_OBJECT_PARENT(pad)));
  const bool late = GST_CLOCK_TIME_IS_VALID(now) && taken + kBehindAtMost < now;
  const bool gap = GST_CLOCK_TIME_IS_VALID(previous) && previous + interval + interval / 2 < taken;
  if (late || gap) {
    std::lock_guard switching(self->switchLock_);
    for (GstClockTime at = previous + interval; gap && at + interval / 2 < taken; at += interval) self->CountDroppedAt(at);
    if (late) self->CountDroppedAt(taken);
  }
  if (late) return GST_PAD_PROBE_DROP;
  if (self->droppedSince_ == 0) return GST_PAD_PROBE_OK;
  // The writer takes a file's length for the sum of its frames' durations, and players end it there: the
  // frame after a gap lasts over the gap too.
  frame = gst_buffer_make_writable(frame);
  GST_BUFFER_DURATION(frame) = interval * (1 + std::exchange(self->droppedSince_, 0));
  GST_PAD_PROBE_INFO_DATA(info) = frame;
  return GST_PAD_PROBE_OK;
}

// Counted by the file whose time it falls in, or by the next file to come.
void CCaptureSlot::CountDroppedAt(GstClockTime taken) {
  ++droppedSince_;
  VideoFile* owner = current_ && current_->TakesFrameOf(taken) ? current_.get() : nullptr;
  for (auto next = next_.begin(); !owner && next != next_.end(); ++next)
    if ((*next)->TakesFrameOf(taken)) owner = next->get();
  if (owner) owner->CountDropped(1);
  else ++unclaimedDrops_;
}

GstElement* CCaptureSlot::BuildPreviewBranch() {
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
  const bool window = ClientSize(builtFor_.ownerWindow).has_value();
  GstElement* renderer = Add(graph_, window ? "appsink" : "fakesink", "VideoRenderer");
  if (!renderer) {
    ShowError("Error %x: Cannot create the preview renderer", kFail);
    return nullptr;
  }
  if (!window) return Link({timeStamp, renderer}) ? queue : nullptr;
  // The sink keeps the newest frame for the drawer, as it comes, and holds nothing up: no frame waits
  // for its time, for a full queue, or at the end for the drawer.
  g_object_set(renderer, "sync", FALSE, "drop", TRUE, "max-buffers", 1u, "wait-on-eos", FALSE, "enable-last-sample",
               FALSE, nullptr);
  // A full screen or another window changes the size on the running graph; frames already scaled to the
  // old size still pass. Scaled before they are converted to the window's pixels: fewer to convert.
  previewScale_ = AddCaps(graph_, "video/x-raw");
  if (previewScale_) gst_util_set_object_arg(G_OBJECT(previewScale_), "caps-change-mode", "delayed");
  if (!Link({timeStamp, Add(graph_, "videoscale"), Add(graph_, "videoconvert"), previewScale_, renderer})) {
    ShowError("Error %x: Cannot connect the preview renderer", kFail);
    return nullptr;
  }
  drawer_ = std::make_unique<PreviewDrawer>(renderer, [this, graph = graphSerial_](std::uintptr_t lost, const char* why) {
    worker_.PostAt(Worker::Clock::now(), this, [this, graph, lost, why] { PreviewLost(graph, lost, why); });
  });
  Show(builtFor_.ownerWindow);
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
void CCaptureSlot::Finish(const std::string& path) {
  gst_element_send_event(graph_, gst_event_new_eos());
  GstBus* bus = gst_element_get_bus(graph_);
  GstMessage* end = gst_bus_timed_pop_filtered(bus, kFinishTimeout,
                                               static_cast<GstMessageType>(GST_MESSAGE_EOS | GST_MESSAGE_ERROR));
  gst_object_unref(bus);
  if (!end) {
    ShowError("Error %x: Cannot finish video file \"%s\": the camera gave no end within %d seconds", kTimeout,
              path.c_str(), static_cast<int>(kFinishTimeout / GST_SECOND));
    return;
  }
  if (GST_MESSAGE_TYPE(end) == GST_MESSAGE_ERROR) VideoFile::TellUnfinished(path, DescribeFailure(end));
  gst_message_unref(end);
}

// Ends the graph; a file still fed by the camera is finalised first, one that never got a frame is
// removed again.
void CCaptureSlot::TearDown() {
  if (graph_) {
    std::deque<std::unique_ptr<VideoFile>> unused;
    std::string writing;
    {
      std::lock_guard switching(switchLock_);
      if (cut_) gst_pad_remove_probe(branchEnd_, cut_);
      cut_ = 0;
      // A file still linked takes frames, also after a stop whose cut has not come yet.
      if (current_ && GST_STATE(graph_) == GST_STATE_PLAYING) writing = current_->Path();
      unused = std::move(next_);
      unclaimedDrops_ = 0;
      holding_ = false;
      recording_ = false;
    }
    for (std::unique_ptr<VideoFile>& file : unused) {
      gst_bin_remove(GST_BIN(graph_), file->Element());
      file->Settle();
    }
    if (!writing.empty()) Finish(writing);
    gst_element_set_state(graph_, GST_STATE_NULL);
    // Once the sink hands it no more frames.
    drawer_.reset();
    std::unique_ptr<VideoFile> last;
    {
      std::lock_guard switching(switchLock_);
      last = std::move(current_);
    }
    if (last) last->Settle();
    if (branchEnd_) gst_object_unref(branchEnd_);
    branchEnd_ = nullptr;
    previewLost_ = false;
    previewScale_ = nullptr;
    gst_object_unref(graph_);
    graph_ = nullptr;
    fullScreen_.reset();
  }
  {
    std::lock_guard failing(failureLock_);
    if (failure_) gst_message_unref(failure_);
    failure_ = nullptr;
  }
  std::lock_guard frame(frameLock_);
  if (latestFrame_) gst_sample_unref(latestFrame_);
  latestFrame_ = nullptr;
}

// Nobody runs a loop on the graph's bus: without this filter every state change and quality report of a
// recording would pile up there until the stop. A dropped message is the handler's to release. Errors
// stay on the bus for a start or a finish that waits for them.
GstBusSyncReply CCaptureSlot::WatchBus(GstBus*, GstMessage* message, gpointer watch) {
  const auto* watched = static_cast<const BusWatch*>(watch);
  if (GST_MESSAGE_TYPE(message) == GST_MESSAGE_ERROR) watched->slot->NoteFailure(watched->graph, message);
  if (GST_MESSAGE_TYPE(message) & (GST_MESSAGE_EOS | GST_MESSAGE_ERROR)) return GST_BUS_PASS;
  gst_message_unref(message);
  return GST_BUS_DROP;
}

// A streaming thread may not end its own graph: the worker does, at once, so that a disk that fills or a
// camera that fails is told when it happens rather than at the next stop.
void CCaptureSlot::NoteFailure(unsigned graph, GstMessage* error) {
  {
    std::lock_guard failing(failureLock_);
    if (failure_) return;
    failure_ = gst_message_ref(error);
    failedGraph_ = graph;
  }
  worker_.PostAt(Worker::Clock::now(), this, [this] { TellFailure(); });
}

void CCaptureSlot::TellFailure() {
  HeldErrors held;
  std::lock_guard life(lifeLock_);
  EndIfFailed();
}

// Ends the graph for the failure met in it, if any: the camera records nothing until the next start,
// and the file it wrote is finished in the background so that it plays up to the failure. The failure is
// told once the caller's hold on errors ends, after it has let go of the camera.
void CCaptureSlot::EndIfFailed() {
  GstMessage* error = nullptr;
  unsigned failedGraph = 0;
  {
    std::lock_guard failing(failureLock_);
    std::swap(error, failure_);
    failedGraph = failedGraph_;
  }
  if (!error) return;
  const Failure failure = DescribeFailure(error);
  gst_message_unref(error);
  if (!graph_ || failedGraph != graphSerial_) return;

  std::unique_ptr<VideoFile> broken;
  {
    std::lock_guard switching(switchLock_);
    broken = std::move(current_);
  }
  if (broken) gst_bin_remove(GST_BIN(graph_), broken->Element());
  TearDown();
  ++generation_;
  if (!broken) {
    ShowError("Error %x: Camera %d stopped: %s", failure.code, builtFor_.cameraIndex, failure.cause.c_str());
    return;
  }
  ShowError("Error %x: Recording into \"%s\" stopped: %s", failure.code, broken->Path().c_str(), failure.cause.c_str());
  // A file that no frame reached holds the writer's bare header once salvaged, and does not play; one
  // whose disk filled before the writer's first output holds nothing.
  worker_.Post([file = std::shared_ptr<VideoFile>(std::move(broken)), full = failure.code == kDiskFull] {
    file->Salvage(full);
    file->Settle();
  });
}

// A file that could not join the running graph may have posted its own failure there; the camera runs on.
void CCaptureSlot::ForgetFailureOf(GstElement* element) {
  std::lock_guard failing(failureLock_);
  if (failure_ && gst_object_has_as_ancestor(GST_MESSAGE_SRC(failure_), GST_OBJECT(element))) {
    gst_message_unref(failure_);
    failure_ = nullptr;
  }
}

GstPadProbeReturn CCaptureSlot::GrabFrame(GstPad* pad, GstPadProbeInfo* info, gpointer slot) {
  auto* self = static_cast<CCaptureSlot*>(slot);
  if (!self->recording_) return GST_PAD_PROBE_OK;
  GstCaps* caps = gst_pad_get_current_caps(pad);
  GstSample* frame = gst_sample_new(GST_PAD_PROBE_INFO_BUFFER(info), caps, nullptr, nullptr);
  if (caps) gst_caps_unref(caps);
  std::lock_guard lock(self->frameLock_);
  if (self->latestFrame_) gst_sample_unref(self->latestFrame_);
  self->latestFrame_ = frame;
  return GST_PAD_PROBE_OK;
}

std::string CCaptureSlot::RecordingInto() {
  std::lock_guard switching(switchLock_);
  if (!recording_) return {};
  const VideoFile* file = LastFile();
  return file ? file->Path() : std::string();
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
