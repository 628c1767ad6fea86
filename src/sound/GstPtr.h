#pragma once

#include <gst/gst.h>

#include <memory>

// Owners of GStreamer references, so that every reference the program takes
// is given back on every path, early returns included. Local references that
// never leave a function use GLib's g_autoptr instead.

struct GstObjectUnref
{
    void operator()(gpointer object) const { gst_object_unref(object); }
};

// Owns one reference to a GstObject (an element, a pad, a bus...).
template <typename T>
using GstObjectPtr = std::unique_ptr<T, GstObjectUnref>;

// Takes ownership of a newly made object: sinks its floating reference, so
// that adding it to a bin later takes a reference of its own. Null stays null.
template <typename T>
GstObjectPtr<T> adoptFloating(T *object)
{
    if (object) {
        gst_object_ref_sink(object);
    }
    return GstObjectPtr<T>(object);
}
