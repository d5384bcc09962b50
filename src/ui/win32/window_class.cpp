// The layer's window classes on Win32.
#include "window_class.h"

namespace kadromir::ui {

void RegisterWindowClass(const wchar_t* name, WNDPROC procedure, UINT style) {
    const HINSTANCE instance = GetModuleHandleW(nullptr);
    WNDCLASSEXW known{};
    known.cbSize = sizeof known;
    if (GetClassInfoExW(instance, name, &known)) {
        return;
    }
    WNDCLASSEXW type{};
    type.cbSize = sizeof type;
    type.style = style;
    type.lpfnWndProc = procedure;
    type.hInstance = instance;
    type.hCursor = LoadCursorW(nullptr, IDC_ARROW);
    type.lpszClassName = name;
    RegisterClassExW(&type);
}

Rect BoundsInParent(HWND child) {
    RECT bounds;
    GetWindowRect(child, &bounds);
    MapWindowPoints(nullptr, GetParent(child), reinterpret_cast<POINT*>(&bounds), 2);
    return {bounds.left, bounds.top, bounds.right - bounds.left, bounds.bottom - bounds.top};
}

void SetBoundsInParent(HWND child, const Rect& bounds) {
    SetWindowPos(child, nullptr, bounds.Left, bounds.Top, bounds.Width, bounds.Height,
                 SWP_NOZORDER | SWP_NOACTIVATE);
}

Rect PointerDisplay() {
    POINT pointer{0, 0};
    GetCursorPos(&pointer);
    MONITORINFO info{};
    info.cbSize = sizeof info;
    GetMonitorInfoW(MonitorFromPoint(pointer, MONITOR_DEFAULTTOPRIMARY), &info);
    const RECT& screen = info.rcMonitor;
    return {screen.left, screen.top, screen.right - screen.left, screen.bottom - screen.top};
}

} // namespace kadromir::ui
