// The frame arithmetic of the Windows form against metrics Windows is known to give.
#include "ui/win32/frame_metrics.h"

#include <gtest/gtest.h>

namespace kadromir::ui {
namespace {

// Windows 10 at 100 %: AdjustWindowRectEx(WS_OVERLAPPEDWINDOW, menu) of an empty rect
// gives (-8, -51, 8, 8): the sizing frame 4 + padded border 4, caption 23, menu 20.
// The desktop window manager draws 1 pixel of it; the other 7 on the left, right and
// bottom are the invisible resize border (its extended frame bounds).
TEST(FrameMetrics, Windows10FrameAtOneHundredPercent) {
    const Margins frame = FrameOfAdjustedEmptyRect(RectFromEdges(-8, -51, 8, 8));
    EXPECT_EQ(frame, (Margins{8, 51, 8, 8}));
    // The picture's 256 x 279 client area with a status line of 22.
    const Rect window = WindowSizeForClient(256, 279, frame, 22);
    EXPECT_EQ(window.Width, 272);
    EXPECT_EQ(window.Height, 360);

    const Rect placed{100, 50, 272, 360};
    const Rect drawn = RectFromEdges(107, 50, 365, 403);
    const Margins invisible = InvisibleBorder(placed, drawn);
    EXPECT_EQ(invisible, (Margins{7, 0, 7, 7}));
    EXPECT_EQ(VisibleBounds(placed, invisible), (Rect{107, 50, 258, 353}));
    // Asking for the visible frame gives back the window rectangle that shows it.
    EXPECT_EQ(WindowRectFor(VisibleBounds(placed, invisible), invisible), placed);
}

// At 150 % the metrics scale: a frame of 11, caption 33 and menu 29 (-11, -73, 11, 11),
// an invisible border of 10 (the frame less the visible pixel).
TEST(FrameMetrics, ScaledDisplayAndClassicFrames) {
    struct Case {
        const char* What;
        Rect Window;
        std::optional<Rect> Drawn;
        Margins Invisible;
    };
    const Case cases[] = {
        {"150 %", {0, 0, 406, 443}, RectFromEdges(10, 0, 396, 433), {10, 0, 10, 10}},
        {"no desktop window manager (wine, a classic theme)", {5, 6, 300, 200}, std::nullopt, {}},
        {"a minimized window's empty bounds", {5, 6, 300, 200}, Rect{0, 0, 0, 0}, {}},
    };
    for (const Case& c : cases) {
        const Margins invisible = InvisibleBorder(c.Window, c.Drawn);
        EXPECT_EQ(invisible, c.Invisible) << c.What;
        EXPECT_EQ(WindowRectFor(VisibleBounds(c.Window, invisible), invisible), c.Window) << c.What;
    }
    EXPECT_EQ(FrameOfAdjustedEmptyRect(RectFromEdges(-11, -73, 11, 11)), (Margins{11, 73, 11, 11}));
    EXPECT_EQ(WindowSizeForClient(384, 418, {11, 73, 11, 11}, 0).Height, 502);
}

} // namespace
} // namespace kadromir::ui
