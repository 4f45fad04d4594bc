// The TimeStamp filter's property page driven as a host's dialog drives it, and the class table hosts
// make the filter and its page from.

#include "CaptureTestSupport.h"
#include "TimeStampProperties.h"

#include <cstdio>
#include <string>
#include <vector>

namespace capture_test {
namespace {

using corvane::CTimeStampProperties;
using corvane::PageResult;
using corvane::PageStatus;

// The registry form of a class identifier, to hold it against the identifiers hosts know.
std::string Text(const corvane::ClassId& id) {
  char text[39];
  std::snprintf(text, sizeof text, "{%08X-%04X-%04X-%02X%02X-%02X%02X%02X%02X%02X%02X}", id.data1, id.data2, id.data3,
                id.data4[0], id.data4[1], id.data4[2], id.data4[3], id.data4[4], id.data4[5], id.data4[6], id.data4[7]);
  return text;
}

// An element of the factory, owned by the caller.
GstElement* Make(const char* factory) {
  GstElement* element = gst_element_factory_make(factory, nullptr);
  return element ? GST_ELEMENT(gst_object_ref_sink(element)) : nullptr;
}

class TimeStampPropertiesTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_GE(Library().fnGetDevicesNum(), 0);  // brings the framework up with the element registered
    filter_ = Make(corvane::kTimeStampFactory);
    ASSERT_NE(filter_, nullptr);
    page_.SetSite([this](PageStatus status) { told_.push_back(status); });
  }
  void TearDown() override {
    if (filter_) gst_object_unref(filter_);
  }

  int Effect() const {
    gint effect = 0;
    g_object_get(filter_, "effect", &effect, nullptr);
    return effect;
  }

  GstElement* filter_ = nullptr;
  CTimeStampProperties page_;
  std::vector<PageStatus> told_;
};

TEST_F(TimeStampPropertiesTest, TheClassTableMakesTheFilterAndItsPage) {
  const auto& [filter, page] = corvane::kClassFactories;
  EXPECT_EQ(filter.name, "TimeStamp");
  EXPECT_EQ(Text(filter.classId), "{54D45751-3C13-442E-9421-23A0E785A912}");
  ASSERT_NE(filter.setup, nullptr);
  EXPECT_EQ(filter.setup->name, "TimeStamp");
  EXPECT_EQ(filter.setup->merit, GST_RANK_NONE);
  const auto& [input, output] = filter.setup->pins;
  EXPECT_EQ(input.name, "Input");
  EXPECT_EQ(input.direction, GST_PAD_SINK);
  EXPECT_EQ(output.name, "Output");
  EXPECT_EQ(output.direction, GST_PAD_SRC);
  EXPECT_EQ(input.majorType, "video");
  EXPECT_EQ(output.majorType, "video");
  EXPECT_EQ(page.name, "Special TimeStamp");
  EXPECT_EQ(Text(page.classId), "{B5A0E3B8-2C30-40BF-AD13-781FC5676C34}");
  EXPECT_EQ(page.setup, nullptr);

  corvane::CreatedObject made = filter.create();
  ASSERT_TRUE(std::holds_alternative<GstElement*>(made));
  GstElement* element = std::get<GstElement*>(made);
  ASSERT_NE(element, nullptr);
  gst_object_ref_sink(element);
  corvane::CreatedObject madePage = page.create();
  ASSERT_TRUE(std::holds_alternative<std::unique_ptr<CTimeStampProperties>>(madePage));
  const auto& newPage = std::get<std::unique_ptr<CTimeStampProperties>>(madePage);
  ASSERT_NE(newPage, nullptr);
  EXPECT_EQ(newPage->Connect(G_OBJECT(element)), PageResult::kOk);
  gst_object_unref(element);
}

TEST_F(TimeStampPropertiesTest, ThePageEditsTheEffectOfItsFilter) {
  g_object_set(filter_, "effect", corvane::kEffectGrey, nullptr);
  ASSERT_EQ(page_.Connect(G_OBJECT(filter_)), PageResult::kOk);
  EXPECT_TRUE(page_.SelectButton(corvane::kEffectNone));
  EXPECT_FALSE(page_.IsDirty());
  EXPECT_TRUE(told_.empty());

  page_.Activate();
  EXPECT_TRUE(page_.IsButtonSelected(corvane::kEffectGrey));
  EXPECT_FALSE(page_.IsButtonSelected(corvane::kEffectNone));
  EXPECT_TRUE(page_.SelectButton(corvane::kEffectNone));
  EXPECT_FALSE(page_.IsButtonSelected(corvane::kEffectGrey));
  EXPECT_TRUE(page_.IsDirty());
  EXPECT_EQ(told_, std::vector<PageStatus>{PageStatus::kDirty});
  EXPECT_EQ(Effect(), corvane::kEffectGrey);

  EXPECT_EQ(page_.Apply(), PageResult::kOk);
  EXPECT_EQ(Effect(), corvane::kEffectNone);
  EXPECT_FALSE(page_.IsDirty());
  EXPECT_EQ(page_.OnCommand(), 1);
  EXPECT_TRUE(page_.IsDirty());
}

TEST_F(TimeStampPropertiesTest, ThePageKeepsWhatTheButtonsSaidWhenItIsHidden) {
  g_object_set(filter_, "effect", corvane::kEffectGrey, nullptr);
  ASSERT_EQ(page_.Connect(G_OBJECT(filter_)), PageResult::kOk);
  page_.Activate();
  page_.SelectButton(corvane::kEffectNone);
  page_.Deactivate();
  EXPECT_EQ(page_.OnCommand(), 1);
  EXPECT_EQ(told_.size(), 1u);
  page_.Activate();
  EXPECT_TRUE(page_.IsButtonSelected(corvane::kEffectNone));
  EXPECT_FALSE(page_.IsButtonSelected(corvane::kEffectGrey));
}

TEST_F(TimeStampPropertiesTest, AnEffectWithoutAButtonSelectsNeitherAndStays) {
  g_object_set(filter_, "effect", 7, nullptr);
  ASSERT_EQ(page_.Connect(G_OBJECT(filter_)), PageResult::kOk);
  page_.Activate();
  EXPECT_FALSE(page_.IsButtonSelected(corvane::kEffectGrey));
  EXPECT_FALSE(page_.IsButtonSelected(corvane::kEffectNone));
  EXPECT_FALSE(page_.SelectButton(7));
  EXPECT_FALSE(page_.IsDirty());
  EXPECT_EQ(page_.Apply(), PageResult::kOk);
  EXPECT_EQ(Effect(), 7);
}

TEST_F(TimeStampPropertiesTest, OnlyATimeStampElementIsConnected) {
  EXPECT_EQ(page_.Disconnect(), PageResult::kUnexpected);
  EXPECT_EQ(page_.Apply(), PageResult::kUnexpected);
  EXPECT_EQ(page_.Connect(nullptr), PageResult::kNoPointer);
  GstElement* sink = Make("fakesink");
  ASSERT_NE(sink, nullptr);
  EXPECT_EQ(page_.Connect(G_OBJECT(sink)), PageResult::kNoInterface);
  EXPECT_EQ(page_.Disconnect(), PageResult::kUnexpected);

  ASSERT_EQ(page_.Connect(G_OBJECT(filter_)), PageResult::kOk);
  EXPECT_EQ(page_.Connect(G_OBJECT(sink)), PageResult::kNoInterface);
  gst_object_unref(sink);
  page_.Activate();
  page_.SelectButton(corvane::kEffectGrey);
  EXPECT_EQ(page_.Apply(), PageResult::kOk);
  EXPECT_EQ(Effect(), corvane::kEffectGrey);
  EXPECT_EQ(page_.Disconnect(), PageResult::kOk);
  EXPECT_EQ(page_.Disconnect(), PageResult::kUnexpected);
}

}  // namespace
}  // namespace capture_test
