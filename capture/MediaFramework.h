// Brings the media framework up once per process, with the library's own element registered.
#pragma once

#include <gst/gst.h>

#include <cstdint>
#include <optional>
#include <string>

namespace corvane {

// False when the framework cannot start; every capture operation then refuses.
bool EnsureMediaFramework();

struct Failure {
  std::uint32_t code;  // as shown in "Error %x: ..."
  std::string cause;
};

// When a frame on that pad was taken, on its graph's running clock; none when it bears no time.
GstClockTime RunningTime(GstPad* pad, GstBuffer* frame);

// What an error message of the framework tells the user.
Failure DescribeFailure(GstMessage* error);
// The first error waiting on the bus; empty when there is none.
std::optional<Failure> TakeFailure(GstBus* bus);

}  // namespace corvane
