#pragma once

#include "base/screen_geometry.h"

namespace kadromir {

// What the settings need of the main window: its outer bounds (frame included) and
// the primary display. The application implements it; tests fake it.
class WindowGeometry {
  public:
    virtual ~WindowGeometry() = default;
    virtual int OuterLeft() const = 0;
    virtual int OuterTop() const = 0;
    virtual int OuterWidth() const = 0;
    virtual int OuterHeight() const = 0;
    virtual void SetOuterLeft(int left) = 0;
    virtual void SetOuterTop(int top) = 0;
    virtual void SetOuterWidth(int width) = 0;
    virtual void SetOuterHeight(int height) = 0;
    virtual ScreenBounds PrimaryScreen() const = 0;
};

} // namespace kadromir
