#pragma once

#include <cstdint>
#include <vector>

namespace kadromir::ui {

// A rectangle on the desktop or in a window: its top-left corner and its size.
struct Rect {
    int Left = 0, Top = 0, Width = 0, Height = 0;
    bool operator==(const Rect&) const = default;
};

struct Point {
    int X = 0, Y = 0;
    bool operator==(const Point&) const = default;
};

// Pixels to draw: Width x Height opaque 0xFFRRGGBB values, row by row from the top.
struct Image {
    int Width = 0, Height = 0;
    std::vector<std::uint32_t> Pixels;
    bool Empty() const { return Width <= 0 || Height <= 0; }
};

} // namespace kadromir::ui
