#include "app_icon.h"

#include <QPainter>

#include <array>
#include <cstdio>
#include <vector>

namespace kadromir::ui {
namespace {

// A filled square of the drawing, on a 256 × 256 canvas.
struct Square {
    int Left;
    int Top;
    int Size;
    int Radius;
    QRgb Colour;
};

constexpr int Canvas = 256;
constexpr int Cell = 36;
constexpr std::array<QRgb, 16> Colours{0x00007F, 0x7F0000, 0xDF3232, 0xFF7F00, 0xFFDF00, 0x32BF32,
                                       0x00BFBF, 0x3232DF, 0x7F32BF, 0xDF32DF, 0xFF9FBF, 0xBFBFBF,
                                       0x7F7F7F, 0x325C32, 0x9F5C00, 0xFFFFFF};

// Back to front: the planes, the border, the sixteen cells.
std::vector<Square> Drawing() {
    std::vector<Square> squares;
    constexpr std::array<QRgb, 4> planes{0x1E2A4A, 0x2C3C66, 0x3B5082, 0x4B649E};
    for (int plane = 4; plane >= 1; --plane) {
        squares.push_back({24 + 12 * plane, 56 - 12 * plane, 176, 14, planes[4 - plane]});
    }
    squares.push_back({24, 56, 176, 14, 0x00007F});
    for (int i = 0; i < 16; ++i) {
        squares.push_back({40 + i % 4 * Cell, 72 + i / 4 * Cell, Cell, 0, Colours[i]});
    }
    return squares;
}

} // namespace

QImage RenderAppIcon(int size) {
    QImage image(size, size, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    QPainter painter(&image);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.scale(static_cast<double>(size) / Canvas, static_cast<double>(size) / Canvas);
    painter.setPen(Qt::NoPen);
    for (const Square& s : Drawing()) {
        painter.setBrush(QColor(s.Colour));
        painter.drawRoundedRect(QRectF(s.Left, s.Top, s.Size, s.Size), s.Radius, s.Radius);
    }
    painter.end();
    return image;
}

QIcon AppIcon() {
    QIcon icon;
    for (const int size : {16, 32, 48, 64}) {
        icon.addPixmap(QPixmap::fromImage(RenderAppIcon(size)));
    }
    return icon;
}

std::string AppIconSvg() {
    std::string svg = "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
                      "<svg xmlns=\"http://www.w3.org/2000/svg\" width=\"256\" height=\"256\" "
                      "viewBox=\"0 0 256 256\">\n";
    for (const Square& s : Drawing()) {
        char line[160];
        std::snprintf(line, sizeof line,
                      "  <rect x=\"%d\" y=\"%d\" width=\"%d\" height=\"%d\" rx=\"%d\" "
                      "fill=\"#%06X\"/>\n",
                      s.Left, s.Top, s.Size, s.Size, s.Radius, s.Colour & 0xFFFFFFu);
        svg += line;
    }
    return svg + "</svg>\n";
}

} // namespace kadromir::ui
