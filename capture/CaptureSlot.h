// One camera of the library: its file and profile names and, while it records, its capture graph.
#pragma once

#include "JpegSnapshot.h"
#include "PreviewDrawer.h"
#include "PreviewWindow.h"
#include "VideoFile.h"
#include "Worker.h"
#include "WmProfile.h"

#include <gst/gst.h>

#include <atomic>
#include <cstdint>
#include <deque>
#include <memory>
#include <mutex>
#include <optional>
#include <string>
#include <vector>

namespace corvane {

class CCaptureSlot {
 public:
  explicit CCaptureSlot(Worker& worker) : worker_(worker) {}
  CCaptureSlot(const CCaptureSlot&) = delete;
  CCaptureSlot& operator=(const CCaptureSlot&) = delete;
  // Finalises what the camera still records.
  ~CCaptureSlot();

  // "\" is read as the folder separator.
  void SetVideoName(const char* path);
  void SetProfilePath(const char* path);
  void DropNames();

  // Records the camera at that position into the video name. A camera that still runs from a stop a
  // moment ago, or that records now, goes on into the new file without losing a frame. false, after
  // telling the user why, when nothing records into the new name. The preview fills the window's client
  // area; whatever happens to it, the recording goes on.
  bool Start(int cameraIndex, std::uintptr_t ownerWindow);
  // Ends the file with the frames taken before the stop and returns at once; the file is finalised in the
  // background once they have been recorded. The camera and its preview run on for a moment, for a start
  // that carries on into a new file.
  void Stop();
  // The current file ends and the camera records on into the video name set last; false when the
  // camera does not record or the new file cannot be had (it then records on into the current one).
  bool Restart();

  // The preview over the whole screen, scaled to fill it, and back into the owner's window at its size.
  // A camera that does not record, or that draws into no window, stays as it is; a stop ends the full
  // screen too. Snapshots do not change.
  void ShowFullScreen();
  void HideFullScreen();

  // Empty when the camera records nothing or has delivered no frame yet.
  std::vector<std::uint8_t> Snapshot(const JpegSettings& settings);

  // The file the camera records into; empty when it records nothing.
  std::string RecordingInto();

 private:
  // What a graph was built for, and is drawing into now.
  struct Needs {
    int cameraIndex;
    std::uintptr_t ownerWindow;
    WmProfile profile;
  };

  // The drawing into that window of the graph ended: told once, and the preview ends there.
  void PreviewLost(unsigned graph, std::uintptr_t window, const char* why);

  // Whether the running graph takes a start with these needs; one with another profile, or with a window
  // where it was built for none or the other way round, builds afresh. A window that is gone (the X server
  // too) is no reason to: the recording carries on, and the preview ends there.
  bool CanCarryOn(const Needs& needs) const;
  bool CarryOn(std::unique_ptr<VideoFile> file, std::uintptr_t window);
  void ShowIn(std::uintptr_t window);
  void Forget(std::unique_ptr<VideoFile> file);
  // The preview goes into that window, 0 for none, scaled to its size.
  void Show(std::uintptr_t window);
  // On the graph's running clock, as frames are stamped.
  GstClockTime Now() const;
  VideoFile* LastFile() const;
  void CutAtItsEnd();
  bool Open(const Needs& needs);
  bool Build(const Needs& needs);
  GstElement* BuildRecordingBranch(const WmProfile& profile);
  GstElement* BuildPreviewBranch();
  bool Run();
  void Finish(const std::string& path);
  void TearDown();
  void EndUnclaimed(unsigned generation);
  void NoteFailure(unsigned graph, GstMessage* error);
  void TellFailure();
  void EndIfFailed();
  void ForgetFailureOf(GstElement* element);
  static GstBusSyncReply WatchBus(GstBus* bus, GstMessage* message, gpointer watch);
  static GstPadProbeReturn TakeToScale(GstPad* pad, GstPadProbeInfo* info, gpointer slot);
  void CountDroppedAt(GstClockTime taken);
  static GstPadProbeReturn SwitchFiles(GstPad* pad, GstPadProbeInfo* info, gpointer slot);
  static GstPadProbeReturn GrabFrame(GstPad* pad, GstPadProbeInfo* info, gpointer slot);

  Worker& worker_;
  std::optional<std::string> videoName_;
  std::optional<std::string> profilePath_;

  // Serialises the starts, stops and end of the graph between the caller and the worker.
  std::mutex lifeLock_;
  GstElement* graph_ = nullptr;
  std::shared_ptr<VideoFile::TimeBase> timeBase_;
  std::unique_ptr<PreviewDrawer> drawer_;  // while the graph previews into windows; ends before the graph
  GstElement* previewScale_ = nullptr;  // the caps that size the preview to its window; held by the graph
  std::unique_ptr<FullScreenWindow> fullScreen_;
  bool previewLost_ = false;  // the owner's window is gone: the preview is drawn into no window of the host
  Needs builtFor_{};
  unsigned generation_ = 0;  // a stop's end of the camera is void once a start took it over
  unsigned graphSerial_ = 0;  // counts the graphs built, so that a failure is laid at its own graph's door

  // The first failure a streaming thread met in the graph, until the worker or the caller ends the
  // graph for it.
  std::mutex failureLock_;
  GstMessage* failure_ = nullptr;
  unsigned failedGraph_ = 0;

  // The switch between files, taken on the recording branch's streaming thread and never held across a
  // state change of the graph. The branch's last pad feeds the current file; a cut blocks it at the first
  // frame taken at or after the current file's end (the time of its stop or of the next start), hands the
  // current file to the worker and links the next file, if one is waiting, or holds the frames until one
  // comes. A file is cut only once it has its first frame, so that it plays: files of starts that come
  // quicker than the frames wait their turn.
  std::mutex switchLock_;
  GstPad* branchEnd_ = nullptr;
  std::unique_ptr<VideoFile> current_;
  std::deque<std::unique_ptr<VideoFile>> next_;
  gulong cut_ = 0;
  bool holding_ = false;
  std::atomic<bool> recording_ = false;  // read by the frame grabber without the lock
  // Frames dropped after the last file's end, as the machine could not keep up: the next file's.
  int unclaimedDrops_ = 0;
  // When the frame scaled last was taken, and the frames dropped since; kept by the scaling's streaming
  // thread alone.
  GstClockTime scaled_ = GST_CLOCK_TIME_NONE;
  int droppedSince_ = 0;

  // The grabber's latest preview frame; written on a streaming thread, read by snapshots.
  std::mutex frameLock_;
  GstSample* latestFrame_ = nullptr;
};

}  // namespace corvane
