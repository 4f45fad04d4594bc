// One recording file: encoder, writer and file as one bin, which a camera's recording branch feeds for
// as long as the file lasts. Rotating files swaps these bins while the camera runs on.
#pragma once

#include "MediaFramework.h"
#include "WmProfile.h"

#include <gst/gst.h>

#include <atomic>
#include <cstdint>
#include <memory>
#include <mutex>
#include <optional>
#include <string>

namespace corvane {

class VideoFile {
 public:
  // Turns a camera graph's clock times into wall-clock times. Measured once per graph, so that the
  // files of one camera agree with each other to the frame whatever the machine's load.
  class TimeBase {
   public:
    // ns since 1970.
    std::int64_t WallClock(GstClock* clock, GstClockTime time);

   private:
    std::once_flag measured_;
    std::int64_t offset_ = 0;
  };

  // Creates the file and its writer; null, after telling the user why, when it cannot be made. A
  // recording is never written over: where the path names a file already, the recording goes into the
  // first free name of "name (2).ext", "name (3).ext", ...
  static std::unique_ptr<VideoFile> Create(const std::string& path, const WmProfile& profile,
                                           std::shared_ptr<TimeBase> timeBase);

  VideoFile(const VideoFile&) = delete;
  VideoFile& operator=(const VideoFile&) = delete;
  ~VideoFile();

  // The file recorded into, which may be a fresh name derived from the one asked for.
  const std::string& Path() const { return path_; }
  GstElement* Element() const { return bin_; }
  // Takes raw I420 frames of the profile's size and rate.
  GstPad* Input() const { return input_; }

  // Ends the file: end-of-stream through encoder and writer, so that the file plays, then closes it and
  // settles it; a failure is told. Its input must be cut off from the camera already, and it must have
  // left the camera's graph.
  void Finish();
  // Tells the user that the file at that path could not be completed, and why.
  static void TellUnfinished(const std::string& path, const Failure& failure);
  // Finishes a file whose recording failed, as far as it can be: it then plays up to the failure, which
  // has been told already. diskFull: its disk takes no more bytes.
  void Salvage(bool diskFull);
  // Removes the file again when nothing was written into it (a start that did not get going).
  void DiscardIfEmpty();
  // Whether a frame of the camera has gone into the file.
  bool HasFrame() const { return firstFrame_ != 0; }
  // The file takes the camera's frames up to this time on its graph's running clock, that of the stop or
  // the next start; it is open-ended until one comes. Set once.
  void EndAt(GstClockTime time) {
    GstClockTime open = GST_CLOCK_TIME_NONE;
    endsAt_.compare_exchange_strong(open, time);
  }
  bool TakesFrameOf(GstClockTime time) const { return time < endsAt_; }
  // Frames of this file that the machine could not scale and encode in time.
  void CountDropped(int frames) { dropped_ += frames; }
  // Once the file is complete: one that no frame reached, or that holds no byte, does not play and is
  // removed; one that lost frames says how many. Either is told.
  void Settle();

 private:
  VideoFile(std::string path, const WmProfile& profile, std::shared_ptr<TimeBase> timeBase);
  bool Build();
  // What failed, if anything.
  std::optional<Failure> End();
  static GstPadProbeReturn NoteFrame(GstPad* pad, GstPadProbeInfo* info, gpointer file);
  static GstPadProbeReturn CompleteHeader(GstPad* pad, GstPadProbeInfo* info, gpointer file);

  std::string path_;
  WmProfile profile_;
  std::shared_ptr<TimeBase> timeBase_;
  GstElement* bin_ = nullptr;
  GstPad* input_ = nullptr;
  // Wall-clock time of the first frame as the container counts it (100 ns since 1601), 0 before it.
  std::atomic<std::int64_t> firstFrame_{0};
  std::atomic<int> frames_{0};
  std::atomic<int> dropped_{0};
  std::atomic<GstClockTime> endsAt_{GST_CLOCK_TIME_NONE};
  // Where the writer's output goes in the file, and where the creation time lies there; kept by the
  // writer's thread alone.
  std::uint64_t writtenAt_ = 0;
  std::uint64_t creationAt_ = UINT64_MAX - 8;
  // Set while a failed file is salvaged: the size it has on the disk.
  std::atomic<std::uint64_t> keepWithin_{UINT64_MAX};
};

}  // namespace corvane
