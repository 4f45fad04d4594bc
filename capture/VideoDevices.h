// The cameras of the machine, in one fixed order: real ones first, then the test cameras.
#pragma once

#include <gst/gst.h>

namespace corvane {

int CountVideoDevices();

// The source of the camera at that position, named "CaptureFilter"; null when there is none or when its
// element cannot be made.
GstElement* MakeVideoSource(int ordinal);

}  // namespace corvane
