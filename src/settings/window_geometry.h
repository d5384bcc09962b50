#pragma once

namespace kadromir {

// The full bounds of a display on the desktop (not its work area).
struct ScreenBounds {
    int Left = 0, Top = 0, Width = 0, Height = 0;
};

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
