#pragma once

#include "base/screen_geometry.h"

#include <string>

namespace kadromir {

// Where the drawing area goes in a client area of W x H (the area between the menu
// bar and the status line, the toolbar strip included). Divisions truncate toward
// zero; a client shorter than 32 gives a negative height.
int DrawingAreaHeight(int clientHeight);
int DrawingAreaTop(int clientHeight);
int DrawingAreaWidth(int clientWidth);
// The left edge follows from the width the area really has (a window system may
// refuse a negative one).
int DrawingAreaLeft(int clientWidth, int actualWidth);

// "Экран: Ширина=<width>, Высота=<height>"
std::string StatusLineText(int width, int height);

// The fixed outer sizes of "Экран х1" and "Экран х2".
struct OuterSize {
    int Width, Height;
};
inline constexpr OuterSize ScreenX1Size{304, 423};
inline constexpr OuterSize ScreenX2Size{594, 715};

} // namespace kadromir
