#pragma once

// The layer's own window classes, the object each window of them stands for, and the
// places of its windows.

#include "ui/geometry.h"

#include <windows.h>

namespace kadromir::ui {

// Registers the class once for this program (a later call finds it there).
void RegisterWindowClass(const wchar_t* name, WNDPROC procedure, UINT style = 0);

// The object a window was created for (CreateWindowEx's last argument), kept in the
// window from its first message on; null once the window has let go of it.
template <typename T> T* WindowObject(HWND window, UINT message, LPARAM lParam) {
    if (message == WM_NCCREATE) {
        SetWindowLongPtrW(
            window, GWLP_USERDATA,
            reinterpret_cast<LONG_PTR>(reinterpret_cast<CREATESTRUCTW*>(lParam)->lpCreateParams));
    }
    return reinterpret_cast<T*>(GetWindowLongPtrW(window, GWLP_USERDATA));
}

// A child window's bounds within its parent's client area.
Rect BoundsInParent(HWND child);
void SetBoundsInParent(HWND child, const Rect& bounds);

// The full bounds of the display that holds the mouse pointer (the primary display
// where that is unknown).
Rect PointerDisplay();

} // namespace kadromir::ui
