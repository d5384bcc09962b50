#pragma once

// The arithmetic of a window's frame on Windows, apart from the system calls so that
// tests check it against known metrics on any system.

#include "ui/geometry.h"

#include <optional>

namespace kadromir::ui {

// How far a rectangle reaches beyond another on each side.
struct Margins {
    int Left = 0, Top = 0, Right = 0, Bottom = 0;
    bool operator==(const Margins&) const = default;
};

// From the left, top, right and bottom edges the system's RECT gives.
constexpr Rect RectFromEdges(int left, int top, int right, int bottom) {
    return {left, top, right - left, bottom - top};
}

// The frame's share around the client area, from AdjustWindowRectEx's answer for an
// empty client rectangle at the origin (its edges negative on the left and top).
constexpr Margins FrameOfAdjustedEmptyRect(const Rect& adjusted) {
    return {-adjusted.Left, -adjusted.Top, adjusted.Left + adjusted.Width,
            adjusted.Top + adjusted.Height};
}

// The invisible resize border: the window rectangle beyond the frame the desktop
// window manager draws (its extended frame bounds); none where it draws no such
// frame (Windows before Vista, a classic theme, wine).
constexpr Margins InvisibleBorder(const Rect& windowRect, const std::optional<Rect>& drawnFrame) {
    if (!drawnFrame || drawnFrame->Width <= 0 || drawnFrame->Height <= 0) {
        return {};
    }
    return {drawnFrame->Left - windowRect.Left, drawnFrame->Top - windowRect.Top,
            windowRect.Left + windowRect.Width - drawnFrame->Left - drawnFrame->Width,
            windowRect.Top + windowRect.Height - drawnFrame->Top - drawnFrame->Height};
}

// The frame the user sees, from the window rectangle and its invisible border.
constexpr Rect VisibleBounds(const Rect& windowRect, const Margins& invisible) {
    return {windowRect.Left + invisible.Left, windowRect.Top + invisible.Top,
            windowRect.Width - invisible.Left - invisible.Right,
            windowRect.Height - invisible.Top - invisible.Bottom};
}

// The window rectangle to ask for so that the visible frame lands on `visible`.
constexpr Rect WindowRectFor(const Rect& visible, const Margins& invisible) {
    return {visible.Left - invisible.Left, visible.Top - invisible.Top,
            visible.Width + invisible.Left + invisible.Right,
            visible.Height + invisible.Top + invisible.Bottom};
}

// The window rectangle's size for a client area of the given size: the frame around
// it, and below the client area the status line when there is one.
constexpr Rect WindowSizeForClient(int clientWidth, int clientHeight, const Margins& frame,
                                   int statusHeight) {
    return {0, 0, clientWidth + frame.Left + frame.Right,
            clientHeight + statusHeight + frame.Top + frame.Bottom};
}

} // namespace kadromir::ui
