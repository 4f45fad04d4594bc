#include "JpegSnapshot.h"

#include <gst/video/video.h>

#include <csetjmp>
#include <cstdio>
#include <cstdlib>
#include <jpeglib.h>

namespace corvane {
namespace {

struct JpegError {
  jpeg_error_mgr manager;
  std::jmp_buf exit;
};

void JumpOut(j_common_ptr info) { std::longjmp(reinterpret_cast<JpegError*>(info->err)->exit, 1); }

// Nearest-pixel scaling: fast, and snapshots are small previews.
std::vector<std::uint8_t> Scale(const std::uint8_t* pixels, int width, int height, int stride, int toWidth,
                                int toHeight) {
  std::vector<std::uint8_t> scaled(static_cast<size_t>(toWidth) * toHeight * 3);
  std::uint8_t* out = scaled.data();
  for (int y = 0; y < toHeight; ++y) {
    const std::uint8_t* row = pixels + static_cast<size_t>(y) * height / toHeight * stride;
    for (int x = 0; x < toWidth; ++x, out += 3) {
      const std::uint8_t* pixel = row + static_cast<size_t>(x) * width / toWidth * 3;
      out[0] = pixel[0];
      out[1] = pixel[1];
      out[2] = pixel[2];
    }
  }
  return scaled;
}

// Kept free of objects with destructors: libjpeg leaves it by longjmp on failure.
bool Compress(const std::uint8_t* pixels, int width, int height, int quality, unsigned char** jpeg,
              unsigned long* size) {
  jpeg_compress_struct info;
  JpegError error;
  info.err = jpeg_std_error(&error.manager);
  error.manager.error_exit = JumpOut;
  if (setjmp(error.exit)) {
    jpeg_destroy_compress(&info);
    return false;
  }
  jpeg_create_compress(&info);
  jpeg_mem_dest(&info, jpeg, size);
  info.image_width = static_cast<JDIMENSION>(width);
  info.image_height = static_cast<JDIMENSION>(height);
  info.input_components = 3;
  info.in_color_space = JCS_EXT_BGR;
  jpeg_set_defaults(&info);
  jpeg_set_quality(&info, quality, TRUE);
  jpeg_start_compress(&info, TRUE);
  while (info.next_scanline < info.image_height) {
    JSAMPROW row = const_cast<JSAMPROW>(pixels + static_cast<size_t>(info.next_scanline) * width * 3);
    jpeg_write_scanlines(&info, &row, 1);
  }
  jpeg_finish_compress(&info);
  jpeg_destroy_compress(&info);
  return true;
}

}  // namespace

std::vector<std::uint8_t> EncodeJpeg(GstSample* frame, const JpegSettings& settings) {
  GstVideoInfo video;
  GstCaps* caps = gst_sample_get_caps(frame);
  GstBuffer* buffer = gst_sample_get_buffer(frame);
  if (!caps || !buffer || !gst_video_info_from_caps(&video, caps) || GST_VIDEO_INFO_FORMAT(&video) != GST_VIDEO_FORMAT_BGR ||
      settings.width <= 0 || settings.height <= 0)
    return {};

  GstMapInfo map;
  if (!gst_buffer_map(buffer, &map, GST_MAP_READ)) return {};
  std::vector<std::uint8_t> scaled;
  if (map.size >= GST_VIDEO_INFO_SIZE(&video) && GST_VIDEO_INFO_WIDTH(&video) > 0 && GST_VIDEO_INFO_HEIGHT(&video) > 0)
    scaled = Scale(map.data + GST_VIDEO_INFO_PLANE_OFFSET(&video, 0), GST_VIDEO_INFO_WIDTH(&video),
                   GST_VIDEO_INFO_HEIGHT(&video), GST_VIDEO_INFO_PLANE_STRIDE(&video, 0), settings.width,
                   settings.height);
  gst_buffer_unmap(buffer, &map);
  if (scaled.empty()) return {};

  unsigned char* jpeg = nullptr;
  unsigned long size = 0;
  std::vector<std::uint8_t> encoded;
  if (Compress(scaled.data(), settings.width, settings.height, settings.quality & 0xFF, &jpeg, &size))
    encoded.assign(jpeg, jpeg + size);
  std::free(jpeg);
  return encoded;
}

}  // namespace corvane
