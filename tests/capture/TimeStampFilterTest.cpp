// The TimeStamp element as the library registers it, driven frame by frame through a harness.

#include "CaptureTestSupport.h"

#include <gst/check/gstharness.h>
#include <gst/gst.h>

#include <array>
#include <cstdlib>

namespace capture_test {
namespace {

// Presets land in the user's data folder, which the framework reads once; point it at a scratch folder
// before anything starts, and take the folder away when the program ends.
const struct PresetHome {
  PresetHome() {
    std::string pattern = (std::filesystem::temp_directory_path() / "corvane-presets-XXXXXX").string();
    if (!mkdtemp(pattern.data())) std::abort();
    setenv("XDG_DATA_HOME", pattern.c_str(), 1);
    folder = pattern;
  }
  ~PresetHome() { std::filesystem::remove_all(folder); }
  std::filesystem::path folder;
} presetHome;

// Three pixels a row, so each row of nine bytes is padded to a stride of twelve.
constexpr int kWidth = 3, kHeight = 2, kStride = 12;
constexpr std::uint8_t kPadding = 0xEE;
using Frame = std::array<std::uint8_t, kStride * kHeight>;

class TimeStampFilterTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_GE(Library().fnGetDevicesNum(), 0);  // brings the framework up with the element registered
    harness_ = gst_harness_new("corvanetimestamp");
    ASSERT_NE(harness_, nullptr);
    gst_harness_set_src_caps_str(harness_, "video/x-raw,format=BGR,width=3,height=2,framerate=30/1");
  }
  void TearDown() override {
    if (harness_) gst_harness_teardown(harness_);
  }

  static Frame Input() {
    Frame frame;
    frame.fill(kPadding);
    const std::uint8_t pixels[kHeight][kWidth][3] = {{{200, 100, 51}, {0, 0, 0}, {255, 255, 255}},
                                                      {{10, 20, 30}, {1, 2, 3}, {90, 0, 255}}};
    for (int y = 0; y < kHeight; ++y)
      for (int x = 0; x < kWidth; ++x)
        for (int c = 0; c < 3; ++c) frame[y * kStride + x * 3 + c] = pixels[y][x][c];
    return frame;
  }

  Frame Pass(const Frame& input) {
    GstBuffer* in = gst_buffer_new_memdup(input.data(), input.size());
    GstBuffer* out = gst_harness_push_and_pull(harness_, in);
    Frame output{};
    EXPECT_NE(out, nullptr);
    if (out) {
      EXPECT_EQ(gst_buffer_extract(out, 0, output.data(), output.size()), output.size());
      gst_buffer_unref(out);
    }
    return output;
  }

  GstHarness* harness_ = nullptr;
};

TEST_F(TimeStampFilterTest, GreyWalksEachRowAndLeavesThePaddingAlone) {
  g_object_set(harness_->element, "effect", 1002, nullptr);
  const Frame output = Pass(Input());
  const std::uint8_t greys[kHeight][kWidth] = {{75, 0, 255}, {25, 2, 127}};
  for (int y = 0; y < kHeight; ++y) {
    for (int x = 0; x < kWidth; ++x)
      for (int c = 0; c < 3; ++c) EXPECT_EQ(output[y * kStride + x * 3 + c], greys[y][x]) << y << "," << x;
    for (int pad = kWidth * 3; pad < kStride; ++pad) EXPECT_EQ(output[y * kStride + pad], kPadding);
  }
}

TEST_F(TimeStampFilterTest, EveryOtherEffectPassesFramesUnchanged) {
  gint effect = 0;
  g_object_get(harness_->element, "effect", &effect, nullptr);
  EXPECT_EQ(effect, 1003);
  EXPECT_EQ(Pass(Input()), Input());
  g_object_set(harness_->element, "effect", 7, nullptr);
  EXPECT_EQ(Pass(Input()), Input());
}

TEST_F(TimeStampFilterTest, OnlyTwentyFourBitFramesAreAccepted) {
  GstPad* sink = gst_element_get_static_pad(harness_->element, "sink");
  for (const char* caps : {"video/x-raw,format=BGRx,width=3,height=2", "video/x-raw,format=RGB,width=3,height=2",
                           "audio/x-raw,format=S16LE"}) {
    GstCaps* refused = gst_caps_from_string(caps);
    EXPECT_FALSE(gst_pad_query_accept_caps(sink, refused)) << caps;
    gst_caps_unref(refused);
  }
  GstCaps* accepted = gst_caps_from_string("video/x-raw,format=BGR,width=3,height=2,framerate=30/1");
  EXPECT_TRUE(gst_pad_query_accept_caps(sink, accepted));
  gst_caps_unref(accepted);
  gst_object_unref(sink);
}

TEST_F(TimeStampFilterTest, TheEffectIsKeptAsAPresetAcrossElements) {
  g_object_set(harness_->element, "effect", 1002, nullptr);
  ASSERT_TRUE(gst_preset_save_preset(GST_PRESET(harness_->element), "Grey courts"));
  EXPECT_TRUE(std::filesystem::exists(presetHome.folder / "gstreamer-1.0" / "presets" / "CTimeStampFilter.prs"));

  GstElement* fresh = gst_element_factory_make("corvanetimestamp", nullptr);
  ASSERT_NE(fresh, nullptr);
  ASSERT_TRUE(gst_preset_load_preset(GST_PRESET(fresh), "Grey courts"));
  gint effect = 0;
  g_object_get(fresh, "effect", &effect, nullptr);
  EXPECT_EQ(effect, 1002);
  gst_object_unref(fresh);
}

}  // namespace
}  // namespace capture_test
