#include "layout_rule.h"

namespace kadromir {
namespace {
// Vertical: reserved height, divisor of the margin, top offset.
constexpr int ReservedHeight = 32;
constexpr int MarginDivisor = 16;
constexpr int TopOffset = 33;
// Horizontal: divisor of the left margin, reserved width, divisor of the width cut,
// width step of the left shift.
constexpr int LeftDivisor = 16;
constexpr int ReservedWidth = 32;
constexpr int CutDivisor = 19;
constexpr int ShiftStep = 256;

int VerticalMargin(int h) {
    return (h - ReservedHeight) / MarginDivisor;
}
} // namespace

int DrawingAreaHeight(int h) {
    return h - ReservedHeight - 2 * VerticalMargin(h);
}
int DrawingAreaTop(int h) {
    return VerticalMargin(h) + TopOffset;
}
int DrawingAreaWidth(int w) {
    return w - w / LeftDivisor - (w - ReservedWidth) / CutDivisor;
}
int DrawingAreaLeft(int w, int actualWidth) {
    return w / LeftDivisor - 2 * (actualWidth / ShiftStep);
}

std::string StatusLineText(int width, int height) {
    return "Экран: Ширина=" + std::to_string(width) + ", Высота=" + std::to_string(height);
}

} // namespace kadromir
