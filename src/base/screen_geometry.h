#pragma once

namespace kadromir {

// The full bounds of a display on the desktop (not its work area).
struct ScreenBounds {
    int Left = 0, Top = 0, Width = 0, Height = 0;
};

// A window's top-left corner.
struct Position {
    int Left, Top;
};

// The top-left corner that centres a window of the given outer size on a display;
// beyond the display's top-left corner for a window larger than the display. The one
// centring of the program: the commands, the start-up, the dialog.
constexpr Position CentredPosition(const ScreenBounds& screen, int outerWidth, int outerHeight) {
    return {screen.Left + (screen.Width - outerWidth) / 2,
            screen.Top + (screen.Height - outerHeight) / 2};
}

} // namespace kadromir
