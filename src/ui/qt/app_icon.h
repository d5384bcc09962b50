#pragma once

#include <QIcon>
#include <QImage>

#include <string>

namespace kadromir::ui {

// The program's icon: a 4 × 4 picture of sixteen colours in its border, with the four
// planes it is stored in fanned out behind it. One drawing serves the window, the
// installed PNGs and the SVG, so they never differ.
QImage RenderAppIcon(int size);
// For the window: 16 to 64 pixels, what title bars and task bars show. Each size more
// is drawn and sent to the window system before the first paint.
QIcon AppIcon();
// The same drawing as scalable vector graphics.
std::string AppIconSvg();

} // namespace kadromir::ui
