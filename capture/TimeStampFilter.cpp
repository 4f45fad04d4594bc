#include "TimeStampFilter.h"

#include <gst/gst.h>
#include <gst/video/gstvideofilter.h>
#include <gst/video/video.h>

// Frames stay 24-bit, blue-green-red as the cameras' grabbers hand them on. Any effect other than grey
// leaves them untouched, so the element then runs in passthrough and never copies a frame.

namespace corvane {
namespace {

struct CTimeStampFilter {
  GstVideoFilter parent;
  gint effect;
};

struct CTimeStampFilterClass {
  GstVideoFilterClass parent;
};

enum { kPropEffect = 1 };

CTimeStampFilter* AsFilter(gpointer object) { return static_cast<CTimeStampFilter*>(object); }

void UpdatePassthrough(CTimeStampFilter* filter, gint effect) {
  gst_base_transform_set_passthrough(GST_BASE_TRANSFORM(filter), effect != kEffectGrey);
}

void SetProperty(GObject* object, guint id, const GValue* value, GParamSpec* spec) {
  if (id != kPropEffect) {
    G_OBJECT_WARN_INVALID_PROPERTY_ID(object, id, spec);
    return;
  }
  CTimeStampFilter* filter = AsFilter(object);
  const gint effect = g_value_get_int(value);
  GST_OBJECT_LOCK(filter);
  g_atomic_int_set(&filter->effect, effect);
  GST_OBJECT_UNLOCK(filter);
  UpdatePassthrough(filter, effect);
}

void GetProperty(GObject* object, guint id, GValue* value, GParamSpec* spec) {
  if (id != kPropEffect) {
    G_OBJECT_WARN_INVALID_PROPERTY_ID(object, id, spec);
    return;
  }
  CTimeStampFilter* filter = AsFilter(object);
  GST_OBJECT_LOCK(filter);
  g_value_set_int(value, g_atomic_int_get(&filter->effect));
  GST_OBJECT_UNLOCK(filter);
}

// Grey is the integer half of red plus green; blue does not count. Rows are walked one by one, as a
// frame's stride may be wider than its pixels.
void MakeGrey(GstVideoFrame* frame) {
  const int width = GST_VIDEO_FRAME_WIDTH(frame);
  const int height = GST_VIDEO_FRAME_HEIGHT(frame);
  const int stride = GST_VIDEO_FRAME_PLANE_STRIDE(frame, 0);
  auto* rows = static_cast<guint8*>(GST_VIDEO_FRAME_PLANE_DATA(frame, 0));
  for (int y = 0; y < height; ++y) {
    guint8* pixel = rows + static_cast<gsize>(y) * stride;
    for (int x = 0; x < width; ++x, pixel += 3) {
      const guint8 grey = static_cast<guint8>((pixel[2] + pixel[1]) >> 1);
      pixel[0] = pixel[1] = pixel[2] = grey;
    }
  }
}

GstFlowReturn TransformFrameInPlace(GstVideoFilter* base, GstVideoFrame* frame) {
  if (g_atomic_int_get(&AsFilter(base)->effect) == kEffectGrey) MakeGrey(frame);
  return GST_FLOW_OK;
}

void ClassInit(gpointer klass, gpointer) {
  auto* objectClass = G_OBJECT_CLASS(klass);
  objectClass->set_property = SetProperty;
  objectClass->get_property = GetProperty;
  g_object_class_install_property(
      objectClass, kPropEffect,
      g_param_spec_int("effect", "Effect", "1002 turns frames grey; any other value passes them unchanged",
                       G_MININT, G_MAXINT, kEffectNone,
                       static_cast<GParamFlags>(G_PARAM_READWRITE | G_PARAM_STATIC_STRINGS)));

  auto* elementClass = GST_ELEMENT_CLASS(klass);
  gst_element_class_set_static_metadata(elementClass, "TimeStamp", "Filter/Effect/Video",
                                        "Passes 24-bit video on, optionally in grey", "Corvane");
  GstCaps* caps = gst_caps_from_string("video/x-raw, format=(string)BGR");
  gst_element_class_add_pad_template(elementClass, gst_pad_template_new("sink", GST_PAD_SINK, GST_PAD_ALWAYS, caps));
  gst_element_class_add_pad_template(elementClass, gst_pad_template_new("src", GST_PAD_SRC, GST_PAD_ALWAYS, caps));
  gst_caps_unref(caps);

  GST_VIDEO_FILTER_CLASS(klass)->transform_frame_ip = TransformFrameInPlace;
}

void InstanceInit(GTypeInstance* instance, gpointer) {
  CTimeStampFilter* filter = AsFilter(instance);
  filter->effect = kEffectNone;
  UpdatePassthrough(filter, kEffectNone);
}

GType TimeStampFilterType() {
  static const GType type = [] {
    const GTypeInfo info{sizeof(CTimeStampFilterClass), nullptr, nullptr, ClassInit, nullptr, nullptr,
                         sizeof(CTimeStampFilter), 0, InstanceInit, nullptr};
    const GType registered =
        g_type_register_static(GST_TYPE_VIDEO_FILTER, "CTimeStampFilter", &info, GTypeFlags{});
    // Presets keep the effect across runs, the way the framework persists any element's settings.
    const GInterfaceInfo preset{nullptr, nullptr, nullptr};
    g_type_add_interface_static(registered, GST_TYPE_PRESET, &preset);
    return registered;
  }();
  return type;
}

}  // namespace

bool RegisterTimeStampFilter() {
  return gst_element_register(nullptr, kTimeStampFactory, GST_RANK_NONE, TimeStampFilterType());
}

bool IsTimeStampFilter(GObject* object) { return object && G_TYPE_CHECK_INSTANCE_TYPE(object, TimeStampFilterType()); }

}  // namespace corvane
