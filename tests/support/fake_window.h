#pragma once

#include "settings/window_geometry.h"

#include <string>
#include <vector>

namespace kadromir::test_support {

// A main window for the settings code: outer bounds it reports and a fixed screen; every
// change is made and recorded, as "left 10", "width 300" and so on.
class FakeWindow : public WindowGeometry {
  public:
    int Left = 100, Top = 50, Width = 304, Height = 423;
    ScreenBounds Screen{0, 0, 1280, 1024};
    std::vector<std::string> Calls;

    int OuterLeft() const override { return Left; }
    int OuterTop() const override { return Top; }
    int OuterWidth() const override { return Width; }
    int OuterHeight() const override { return Height; }
    void SetOuterLeft(int v) override { Record(Left, v, "left "); }
    void SetOuterTop(int v) override { Record(Top, v, "top "); }
    void SetOuterWidth(int v) override { Record(Width, v, "width "); }
    void SetOuterHeight(int v) override { Record(Height, v, "height "); }
    ScreenBounds PrimaryScreen() const override { return Screen; }

  private:
    void Record(int& field, int value, const char* what) {
        field = value;
        Calls.push_back(what + std::to_string(value));
    }
};

} // namespace kadromir::test_support
