#include "VideoFile.h"

#include "ErrorBox.h"

#include <fcntl.h>
#include <unistd.h>

#include <sys/stat.h>

#include <algorithm>
#include <cerrno>
#include <climits>
#include <cmath>
#include <cstring>
#include <filesystem>

// The writer leaves two header fields as it cannot know them: the average time per frame (players then
// assume 25 frames per second) and the moment recording began (it writes when the header was made).
// Both are completed in the header, and the creation time again where the writer rewrites it at the end.
// The creation time is the first frame's capture time, so consecutive files of a camera line up: a frame
// was taken at the file's creation time plus its own time stamp.

namespace corvane {
namespace {

// Files of one camera and second bear one name: two starts within a second, or the hour repeated when
// the clocks go back.
constexpr int kMostFreshNames = 1000;
constexpr std::int64_t kUnitsPerSecond = 10'000'000;
constexpr std::int64_t kUnixEpochInUnits = 116'444'736'000'000'000;  // 1601 to 1970 in 100 ns

constexpr std::uint8_t kHeaderObject[16] = {0x30, 0x26, 0xB2, 0x75, 0x8E, 0x66, 0xCF, 0x11,
                                            0xA6, 0xD9, 0x00, 0xAA, 0x00, 0x62, 0xCE, 0x6C};
constexpr std::uint8_t kFileProperties[16] = {0xA1, 0xDC, 0xAB, 0x8C, 0x47, 0xA9, 0xCF, 0x11,
                                              0x8E, 0xE4, 0x00, 0xC0, 0x0C, 0x20, 0x53, 0x65};
constexpr std::uint8_t kExtendedStreamProperties[16] = {0xCB, 0xA5, 0xE6, 0x14, 0x72, 0xC6, 0x32, 0x43,
                                                        0x83, 0x99, 0xA9, 0x69, 0x52, 0x06, 0x5B, 0x5A};
constexpr std::size_t kCreationDateAt = 48;     // from the start of the file properties object
constexpr std::size_t kTimePerFrameAt = 76;     // from the start of the extended stream properties object

void WriteLittleEndian64(std::uint8_t* at, std::int64_t value) {
  for (int byte = 0; byte < 8; ++byte) at[byte] = static_cast<std::uint8_t>(static_cast<std::uint64_t>(value) >> (8 * byte));
}

void Patch(std::uint8_t* data, std::size_t size, const std::uint8_t (&object)[16], std::size_t offset,
           std::int64_t value) {
  const std::uint8_t* found = std::search(data, data + size, std::begin(object), std::end(object));
  if (found + offset + 8 <= data + size) WriteLittleEndian64(data + (found - data) + offset, value);
}

GstElement* Add(GstElement* bin, const char* factory) {
  GstElement* element = gst_element_factory_make(factory, nullptr);
  if (element) gst_bin_add(GST_BIN(bin), element);
  return element;
}

// The writer's first output: the header and one packet.
constexpr off_t kFirstOutput = 8 * 1024;

// A full disk still lets a file be created, only not written: a start into it would record nothing and
// hear of it only at the writer's first output. Removes the file again, after telling why, when that
// output would not fit.
bool TakesFirstOutput(const std::string& path) {
  const int file = open(path.c_str(), O_WRONLY | O_CLOEXEC);
  int failure = file < 0 ? errno : posix_fallocate(file, 0, kFirstOutput);
  if (file >= 0) {
    if (!failure && ftruncate(file, 0) != 0) failure = errno;
    close(file);
  }
  if (!failure) return true;
  unlink(path.c_str());
  ShowError("Error %x: Cannot create video file \"%s\": %s", failure == ENOSPC || failure == EDQUOT ? kDiskFull : kFail,
            path.c_str(), std::strerror(failure));
  return false;
}

}  // namespace

std::int64_t VideoFile::TimeBase::WallClock(GstClock* clock, GstClockTime time) {
  // The pair of readings least spread by the thread being put aside in between.
  std::call_once(measured_, [&] {
    GstClockTime spread = GST_CLOCK_TIME_NONE;
    for (int attempt = 0; attempt < 5; ++attempt) {
      const GstClockTime before = gst_clock_get_time(clock);
      const std::int64_t wall = g_get_real_time() * 1000;
      const GstClockTime after = gst_clock_get_time(clock);
      if (after - before < spread) {
        spread = after - before;
        offset_ = wall - static_cast<std::int64_t>(before + (after - before) / 2);
      }
    }
  });
  return offset_ + static_cast<std::int64_t>(time);
}

namespace {

// "name (n).ext", the stem shortened, at a whole character, where the name would be longer than a file
// name may be.
std::string FreshName(const std::filesystem::path& asked, int number) {
  const std::string ending = " (" + std::to_string(number) + ")" + asked.extension().string();
  std::string stem = asked.stem().string();
  if (stem.size() + ending.size() > NAME_MAX) {
    stem.resize(NAME_MAX > ending.size() ? NAME_MAX - ending.size() : 0);
    const char* begin = stem.data();
    const char* end = begin + stem.size();
    const char* last = g_utf8_find_prev_char(begin, end);
    if (last && last + g_utf8_skip[static_cast<guchar>(*last)] > end)
      stem.resize(static_cast<std::size_t>(last - begin));
  }
  return (asked.parent_path() / stem).string() + ending;
}

// The name created: the path itself or its first fresh derivation; empty, after telling why, when
// none could be created.
std::string CreateFresh(const std::string& path) {
  const std::filesystem::path asked(path);
  std::string name = path;
  for (int number = 2;; ++number) {
    const int created = open(name.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
    if (created >= 0) {
      close(created);
      return name;
    }
    if (errno != EEXIST || number > kMostFreshNames) break;
    name = FreshName(asked, number);
  }
  ShowError("Error %x: Cannot create video file \"%s\": %s", kFail, name.c_str(), std::strerror(errno));
  return {};
}

}  // namespace

std::unique_ptr<VideoFile> VideoFile::Create(const std::string& path, const WmProfile& profile,
                                             std::shared_ptr<TimeBase> timeBase) {
  std::string created = CreateFresh(path);
  if (created.empty() || !TakesFirstOutput(created)) return nullptr;
  std::unique_ptr<VideoFile> file(new VideoFile(std::move(created), profile, std::move(timeBase)));
  if (file->Build()) return file;
  file->DiscardIfEmpty();
  return nullptr;
}

VideoFile::VideoFile(std::string path, const WmProfile& profile, std::shared_ptr<TimeBase> timeBase)
    : path_(std::move(path)), profile_(profile), timeBase_(std::move(timeBase)) {}

VideoFile::~VideoFile() {
  if (input_) gst_object_unref(input_);
  if (!bin_) return;
  if (!GST_OBJECT_PARENT(bin_)) gst_element_set_state(bin_, GST_STATE_NULL);
  gst_object_unref(bin_);
}

bool VideoFile::Build() {
  bin_ = gst_bin_new(nullptr);
  gst_object_ref_sink(bin_);
  GstElement* encoder = Add(bin_, "avenc_wmv2");
  GstElement* writer = Add(bin_, "asfmux");
  GstElement* sink = Add(bin_, "filesink");
  if (!encoder || !writer || !sink) {
    ShowError("Error %x: Cannot create the video encoder and writer", kFail);
    return false;
  }
  if (!gst_element_link_many(encoder, writer, sink, nullptr)) {
    ShowError("Error %x: Cannot connect the video encoder to the writer", kFail);
    return false;
  }
  // A sink that waits for its first frame before it counts as started drops the camera's whole graph to
  // paused whenever a file joins it while it runs, and stalls it; a file ended while it waits never ends.
  g_object_set(sink, "async", FALSE, nullptr);
  const int framesBetweenKeys =
      std::max(1, static_cast<int>(std::lround(profile_.rate.PerSecond() * profile_.keyFrameSeconds)));
  g_object_set(encoder, "bitrate", profile_.bitrate, "gop-size", framesBetweenKeys, nullptr);
  // Unbuffered: each camera meets a disk that fills at its own next write, and what it recorded before
  // is in the file rather than lost with a buffer that could not be written.
  g_object_set(sink, "location", path_.c_str(), nullptr);
  gst_util_set_object_arg(G_OBJECT(sink), "buffer-mode", "unbuffered");

  GstPad* encoderInput = gst_element_get_static_pad(encoder, "sink");
  input_ = gst_ghost_pad_new("sink", encoderInput);
  gst_object_unref(encoderInput);
  gst_object_ref(input_);
  gst_element_add_pad(bin_, input_);
  gst_pad_add_probe(input_, GST_PAD_PROBE_TYPE_BUFFER, NoteFrame, this, nullptr);

  GstPad* written = gst_element_get_static_pad(writer, "src");
  gst_pad_add_probe(written,
                    static_cast<GstPadProbeType>(GST_PAD_PROBE_TYPE_BUFFER | GST_PAD_PROBE_TYPE_EVENT_DOWNSTREAM),
                    CompleteHeader, this, nullptr);
  gst_object_unref(written);
  return true;
}

// Out of the camera's graph the file's elements have no bus of their own: one is lent to them, so that
// a failure to complete the file is heard. End-of-stream runs through them on this thread.
std::optional<Failure> VideoFile::End() {
  GstBus* bus = gst_bus_new();
  gst_element_set_bus(bin_, bus);
  // A writer left paused would hold end-of-stream, and this thread with it, for ever.
  gst_element_set_state(bin_, GST_STATE_PLAYING);
  gst_pad_send_event(input_, gst_event_new_eos());
  gst_element_set_state(bin_, GST_STATE_NULL);
  std::optional<Failure> failure = TakeFailure(bus);
  gst_element_set_bus(bin_, nullptr);
  gst_object_unref(bus);
  return failure;
}

void VideoFile::TellUnfinished(const std::string& path, const Failure& failure) {
  ShowError("Error %x: Cannot finish video file \"%s\": %s", failure.code, path.c_str(), failure.cause.c_str());
}

void VideoFile::Finish() {
  if (const std::optional<Failure> failure = End()) TellUnfinished(path_, *failure);
  Settle();
}

// On a full disk, what the writer appends at the end (the last packet, the index) would fail and keep
// it from completing the header, which lies in the file already: it is dropped.
void VideoFile::Salvage(bool diskFull) {
  struct stat status {};
  if (diskFull) keepWithin_ = stat(path_.c_str(), &status) == 0 ? static_cast<std::uint64_t>(status.st_size) : 0;
  End();
}

void VideoFile::DiscardIfEmpty() {
  struct stat status {};
  if (stat(path_.c_str(), &status) == 0 && S_ISREG(status.st_mode) && status.st_size == 0) unlink(path_.c_str());
}

void VideoFile::Settle() {
  // A file the writer put no byte into does not play, whatever reached its encoder.
  struct stat status {};
  if (!HasFrame() || (stat(path_.c_str(), &status) == 0 && status.st_size == 0)) {
    if (unlink(path_.c_str()) == 0)
      ShowError("Error %x: No frame of the camera reached \"%s\": the file is removed", kFail, path_.c_str());
  } else if (const int dropped = dropped_; dropped > 0) {
    ShowError("Error %x: \"%s\" lacks %d of its %d frames: the computer could not record %dx%d at %s frames per "
              "second in time",
              kFail, path_.c_str(), dropped, dropped + frames_.load(), profile_.width, profile_.height,
              FramesPerSecondText(profile_.rate.PerSecond()).c_str());
  }
}

// A camera that ends while the recording is behind pushes its last frames through, past the file's end;
// a file still takes its first frame, whenever it comes, so that it plays.
GstPadProbeReturn VideoFile::NoteFrame(GstPad* pad, GstPadProbeInfo* info, gpointer file) {
  auto* self = static_cast<VideoFile*>(file);
  const GstClockTime running = RunningTime(pad, GST_PAD_PROBE_INFO_BUFFER(info));
  if (self->HasFrame() && GST_CLOCK_TIME_IS_VALID(running) && !self->TakesFrameOf(running))
    return GST_PAD_PROBE_DROP;
  if (self->frames_++ > 0) return GST_PAD_PROBE_OK;
  std::int64_t taken = g_get_real_time() * 1000;
  GstClock* clock = gst_element_get_clock(self->bin_);
  if (clock && GST_CLOCK_TIME_IS_VALID(running))
    taken = self->timeBase_->WallClock(clock, gst_element_get_base_time(self->bin_) + running);
  if (clock) gst_object_unref(clock);
  self->firstFrame_ = taken / 100 + kUnixEpochInUnits;
  return GST_PAD_PROBE_OK;
}

GstPadProbeReturn VideoFile::CompleteHeader(GstPad*, GstPadProbeInfo* info, gpointer file) {
  auto* self = static_cast<VideoFile*>(file);
  if (GST_PAD_PROBE_INFO_TYPE(info) & GST_PAD_PROBE_TYPE_EVENT_DOWNSTREAM) {
    GstEvent* event = GST_PAD_PROBE_INFO_EVENT(info);
    if (GST_EVENT_TYPE(event) == GST_EVENT_SEGMENT) {
      const GstSegment* segment = nullptr;
      gst_event_parse_segment(event, &segment);
      if (segment->format == GST_FORMAT_BYTES) self->writtenAt_ = segment->start;
    }
    return GST_PAD_PROBE_OK;
  }
  GstBuffer* buffer = GST_PAD_PROBE_INFO_BUFFER(info);
  const std::uint64_t at = self->writtenAt_;
  const std::size_t size = gst_buffer_get_size(buffer);
  self->writtenAt_ += size;
  if (at + size > self->keepWithin_) return GST_PAD_PROBE_DROP;
  const bool header = size >= sizeof kHeaderObject && gst_buffer_memcmp(buffer, 0, kHeaderObject, sizeof kHeaderObject) == 0;
  const bool holdsCreation = self->creationAt_ >= at && self->creationAt_ + 8 <= at + size;
  if (!header && !holdsCreation) return GST_PAD_PROBE_OK;

  buffer = gst_buffer_make_writable(buffer);
  GST_PAD_PROBE_INFO_DATA(info) = buffer;
  GstMapInfo map;
  if (!gst_buffer_map(buffer, &map, GST_MAP_READWRITE)) return GST_PAD_PROBE_OK;
  if (header) {
    const std::uint8_t* properties =
        std::search(map.data, map.data + map.size, std::begin(kFileProperties), std::end(kFileProperties));
    if (properties + kCreationDateAt + 8 <= map.data + map.size)
      self->creationAt_ = at + static_cast<std::uint64_t>(properties - map.data) + kCreationDateAt;
    Patch(map.data, map.size, kExtendedStreamProperties, kTimePerFrameAt,
          kUnitsPerSecond * self->profile_.rate.seconds / self->profile_.rate.frames);
  }
  // The writer writes its own creation time again when it completes the header at the end.
  if (self->firstFrame_ > 0 && self->creationAt_ >= at && self->creationAt_ + 8 <= at + map.size)
    WriteLittleEndian64(map.data + (self->creationAt_ - at), self->firstFrame_);
  gst_buffer_unmap(buffer, &map);
  return GST_PAD_PROBE_OK;
}

}  // namespace corvane
