#pragma once

#include <memory>

#include <glib-object.h>

namespace KramoExcel {

// Drops the reference a libgsf call handed over.
struct GObjectUnref {
    void operator()(void* object) const { g_object_unref(object); }
};

template <typename T>
using GObjectHandle = std::unique_ptr<T, GObjectUnref>;

}  // namespace KramoExcel
