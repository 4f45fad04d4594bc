// One video frame, scaled and encoded as JPEG in memory.
#pragma once

#include <gst/gst.h>

#include <cstdint>
#include <vector>

namespace corvane {

struct JpegSettings {
  int width;
  int height;
  int quality;  // only the low byte counts, as 1 to 100
};

// The frame must be 24-bit blue-green-red as its caps describe it; empty when it is not, when the buffer
// is smaller than the caps promise, or when the encoder gives nothing.
std::vector<std::uint8_t> EncodeJpeg(GstSample* frame, const JpegSettings& settings);

}  // namespace corvane
