// The property page of the TimeStamp filter and the class table a host builds its filters and pages from.
// The library links no widget toolkit: the page keeps its two radio buttons' state itself, and the host's
// dialog shows them and passes the user's clicks on.
#pragma once

#include "Corvane.h"
#include "TimeStampFilter.h"

#include <gst/gst.h>

#include <array>
#include <cstdint>
#include <functional>
#include <memory>
#include <string_view>
#include <variant>

namespace corvane {

// Answers of the page, with the values hosts of such pages know.
enum class PageResult : std::uint32_t {
  kOk = 0,
  kNoInterface = 0x80004002,
  kNoPointer = 0x80004003,
  kUnexpected = 0x8000FFFF,
};

enum class PageStatus : std::uint32_t { kDirty = 1 };

// The host's side of the page: told when the user's change waits to be applied. It must not throw: it is
// called from inside the page's exported functions.
using PageSite = std::function<void(PageStatus)>;

// Edits the effect of one TimeStamp element. Its radio buttons are named by the effects they stand for,
// kEffectGrey and kEffectNone.
class CORVANE_API CTimeStampProperties {
 public:
  CTimeStampProperties() = default;
  CTimeStampProperties(const CTimeStampProperties&) = delete;
  CTimeStampProperties& operator=(const CTimeStampProperties&) = delete;
  // Lets go of the filter it still holds.
  ~CTimeStampProperties();

  static constexpr std::string_view Title() { return "TimeStamp"; }
  void SetSite(PageSite site) { site_ = std::move(site); }

  // Holds the element, which must be a TimeStamp element, in place of any held before, and takes its effect
  // into the page. kNoPointer for null, kNoInterface for any other object; the filter held before stays.
  PageResult Connect(GObject* object);
  // kUnexpected when no filter is held.
  PageResult Disconnect();
  // Selects the button of the page's effect; an effect that has no button selects neither.
  void Activate();
  void Deactivate();
  // Gives the filter the effect of the selected button; kUnexpected when no filter is held.
  PageResult Apply();

  // The user's click: selects that button, clears the other, and sends the page a command. False for an
  // identifier that names no button of the page, which changes nothing.
  bool SelectButton(int button);
  bool IsButtonSelected(int button) const;
  // A command from one of the page's controls; once the page is active it marks the page dirty and tells
  // the site. Answers 1, handled.
  int OnCommand();
  bool IsDirty() const { return dirty_; }

 private:
  static constexpr std::array<int, 2> kButtons{kEffectGrey, kEffectNone};

  // Selects that button and clears the other; an identifier of no button clears both.
  void SelectOnly(int button);
  void ReadButtons();

  GObject* filter_ = nullptr;  // holds a reference
  PageSite site_;
  int effect_ = kEffectNone;
  std::array<bool, kButtons.size()> selected_{};
  bool initialised_ = false;
  bool dirty_ = false;
};

// A pin as the filter announces it to hosts that choose filters by their pins.
struct PinSetup {
  std::string_view name;
  GstPadDirection direction;
  GstPadPresence presence;
  std::string_view majorType;  // any format of that kind of media
};

struct FilterSetup {
  std::string_view name;
  GstRank merit;
  std::array<PinSetup, 2> pins;
};

// Identifies a class the way hosts of filters and pages register it.
struct ClassId {
  std::uint32_t data1;
  std::uint16_t data2;
  std::uint16_t data3;
  std::array<std::uint8_t, 8> data4;
  bool operator==(const ClassId&) const = default;
};

inline constexpr ClassId kTimeStampFilterClass{
    0x54D45751, 0x3C13, 0x442E, {0x94, 0x21, 0x23, 0xA0, 0xE7, 0x85, 0xA9, 0x12}};
inline constexpr ClassId kTimeStampPropertiesClass{
    0xB5A0E3B8, 0x2C30, 0x40BF, {0xAD, 0x13, 0x78, 0x1F, 0xC5, 0x67, 0x6C, 0x34}};

// A new filter comes as a floating reference, as gst_element_factory_make gives it. Null, of either kind,
// when there is no memory or the media framework cannot start.
using CreatedObject = std::variant<GstElement*, std::unique_ptr<CTimeStampProperties>>;

struct ClassFactory {
  std::string_view name;
  ClassId classId;
  CreatedObject (*create)();
  const FilterSetup* setup;  // null for a class that is no filter
};

// "TimeStamp", the filter, and "Special TimeStamp", its page.
CORVANE_API extern const std::array<ClassFactory, 2> kClassFactories;

}  // namespace corvane
