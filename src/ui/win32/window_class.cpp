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

} // namespace kadromir::ui
