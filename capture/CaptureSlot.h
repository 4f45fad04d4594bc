// One camera of the library: its file and profile names and, while it records, its capture graph.
#pragma once

#include "JpegSnapshot.h"
#include "PreviewWindow.h"

#include <gst/gst.h>

#include <cstdint>
#include <mutex>
#include <optional>
#include <string>
#include <vector>

namespace corvane {

class CCaptureSlot {
 public:
  CCaptureSlot() = default;
  CCaptureSlot(const CCaptureSlot&) = delete;
  CCaptureSlot& operator=(const CCaptureSlot&) = delete;
  ~CCaptureSlot();

  void SetVideoName(const char* path) { videoName_ = path; }
  void SetProfilePath(const char* path) { profilePath_ = path; }
  void DropNames();

  // Builds and runs the graph of the camera at that position; a running graph is finalised first.
  // previewSize applies where the window's own size cannot be read.
  bool Start(int cameraIndex, std::uintptr_t ownerWindow, WindowSize previewSize);
  // Finalises the file and releases the graph; nothing happens when none runs.
  void Stop();
  // Finalises the current file and starts a new one under the video name set last; false when the
  // camera was not recording.
  bool Restart(WindowSize previewSize);

  // Empty when the camera records nothing or has delivered no frame yet.
  std::vector<std::uint8_t> Snapshot(const JpegSettings& settings);

 private:
  bool Open(WindowSize previewSize);
  bool Build(WindowSize previewSize);
  GstElement* BuildRecordingBranch();
  GstElement* BuildPreviewBranch(WindowSize previewSize);
  bool Run();
  void Finish();
  void TearDown();
  static GstPadProbeReturn GrabFrame(GstPad* pad, GstPadProbeInfo* info, gpointer slot);

  int cameraIndex_ = 0;
  std::uintptr_t ownerWindow_ = 0;
  std::optional<std::string> videoName_;
  std::optional<std::string> profilePath_;
  GstElement* graph_ = nullptr;

  // The grabber's latest preview frame; written on a streaming thread, read by snapshots.
  std::mutex frameLock_;
  GstSample* latestFrame_ = nullptr;
};

}  // namespace corvane
