#include "TimeStampProperties.h"

#include "MediaFramework.h"

#include <algorithm>
#include <new>

namespace corvane {

CTimeStampProperties::~CTimeStampProperties() {
  if (filter_) g_object_unref(filter_);
}

PageResult CTimeStampProperties::Connect(GObject* object) {
  if (!object) return PageResult::kNoPointer;
  if (!IsTimeStampFilter(object)) return PageResult::kNoInterface;
  g_object_ref(object);
  if (filter_) g_object_unref(filter_);
  filter_ = object;
  g_object_get(filter_, "effect", &effect_, nullptr);
  initialised_ = false;
  return PageResult::kOk;
}

PageResult CTimeStampProperties::Disconnect() {
  if (!filter_) return PageResult::kUnexpected;
  g_object_unref(filter_);
  filter_ = nullptr;
  return PageResult::kOk;
}

void CTimeStampProperties::Activate() {
  SelectOnly(effect_);
  initialised_ = true;
}

void CTimeStampProperties::Deactivate() {
  initialised_ = false;
  ReadButtons();
}

PageResult CTimeStampProperties::Apply() {
  if (!filter_) return PageResult::kUnexpected;
  ReadButtons();
  g_object_set(filter_, "effect", effect_, nullptr);
  dirty_ = false;
  return PageResult::kOk;
}

bool CTimeStampProperties::SelectButton(int button) {
  if (std::ranges::find(kButtons, button) == kButtons.end()) return false;
  SelectOnly(button);
  OnCommand();
  return true;
}

bool CTimeStampProperties::IsButtonSelected(int button) const {
  for (std::size_t i = 0; i < kButtons.size(); ++i)
    if (kButtons[i] == button) return selected_[i];
  return false;
}

// Before activation the buttons do not show the filter's effect yet, so a command then changes nothing.
int CTimeStampProperties::OnCommand() {
  if (initialised_) {
    dirty_ = true;
    if (site_) site_(PageStatus::kDirty);
  }
  return 1;
}

void CTimeStampProperties::SelectOnly(int button) {
  for (std::size_t i = 0; i < kButtons.size(); ++i) selected_[i] = kButtons[i] == button;
}

void CTimeStampProperties::ReadButtons() {
  for (std::size_t i = 0; i < kButtons.size(); ++i) {
    if (selected_[i]) {
      effect_ = kButtons[i];
      return;
    }
  }
}

namespace {

constexpr FilterSetup kTimeStampSetup{
    "TimeStamp",
    GST_RANK_NONE,
    {{{"Input", GST_PAD_SINK, GST_PAD_ALWAYS, "video"}, {"Output", GST_PAD_SRC, GST_PAD_ALWAYS, "video"}}}};

CreatedObject CreateFilter() {
  return EnsureMediaFramework() ? gst_element_factory_make(kTimeStampFactory, nullptr) : nullptr;
}

CreatedObject CreatePage() { return std::unique_ptr<CTimeStampProperties>(new (std::nothrow) CTimeStampProperties); }

}  // namespace

const std::array<ClassFactory, 2> kClassFactories{{
    {"TimeStamp", kTimeStampFilterClass, CreateFilter, &kTimeStampSetup},
    {"Special TimeStamp", kTimeStampPropertiesClass, CreatePage, nullptr},
}};

}  // namespace corvane
