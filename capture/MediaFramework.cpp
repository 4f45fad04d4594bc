#include "MediaFramework.h"

#include "ErrorBox.h"
#include "TimeStampFilter.h"

#include <gst/gst.h>

#include <mutex>

namespace corvane {

bool EnsureMediaFramework() {
  static std::once_flag once;
  static bool ready = false;
  std::call_once(once, [] {
    GError* error = nullptr;
    ready = gst_init_check(nullptr, nullptr, &error) && RegisterTimeStampFilter();
    g_clear_error(&error);
  });
  return ready;
}

GstClockTime RunningTime(GstPad* pad, GstBuffer* frame) {
  GstEvent* segmentEvent = gst_pad_get_sticky_event(pad, GST_EVENT_SEGMENT, 0);
  if (!segmentEvent) return GST_CLOCK_TIME_NONE;
  const GstSegment* segment = nullptr;
  gst_event_parse_segment(segmentEvent, &segment);
  const GstClockTime running = gst_segment_to_running_time(segment, GST_FORMAT_TIME, GST_BUFFER_PTS(frame));
  gst_event_unref(segmentEvent);
  return running;
}

Failure DescribeFailure(GstMessage* error) {
  GError* reported = nullptr;
  gst_message_parse_error(error, &reported, nullptr);
  Failure failure{g_error_matches(reported, GST_RESOURCE_ERROR, GST_RESOURCE_ERROR_NO_SPACE_LEFT) ? kDiskFull : kFail,
                  reported->message};
  g_error_free(reported);
  return failure;
}

std::optional<Failure> TakeFailure(GstBus* bus) {
  GstMessage* error = gst_bus_pop_filtered(bus, GST_MESSAGE_ERROR);
  if (!error) return std::nullopt;
  Failure failure = DescribeFailure(error);
  gst_message_unref(error);
  return failure;
}

}  // namespace corvane
