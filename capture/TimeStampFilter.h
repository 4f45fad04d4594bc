// The pass-through video filter of both branches of a capture graph, registered in the process as an element.
#pragma once

#include <glib-object.h>

namespace corvane {

inline constexpr const char* kTimeStampFactory = "corvanetimestamp";

// Values of the filter's "effect" property.
inline constexpr int kEffectGrey = 1002;
inline constexpr int kEffectNone = 1003;

// Makes the element available to gst_element_factory_make; call once, after the framework is up.
bool RegisterTimeStampFilter();

// False for null and for every object that is not such an element.
bool IsTimeStampFilter(GObject* object);

}  // namespace corvane
