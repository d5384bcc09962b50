// Hidden message windows on Win32.
#include "message_window.h"

namespace kadromir::ui {
namespace {
constexpr wchar_t ClassName[] = L"KadromirMessages";
}

MessageWindow::MessageWindow(std::function<void(UINT, WPARAM, LPARAM)> handler)
    : Handler(std::move(handler)) {
    const HINSTANCE instance = GetModuleHandleW(nullptr);
    WNDCLASSEXW known{};
    known.cbSize = sizeof known;
    if (!GetClassInfoExW(instance, ClassName, &known)) {
        WNDCLASSEXW type{};
        type.cbSize = sizeof type;
        type.lpfnWndProc = &MessageWindow::Procedure;
        type.hInstance = instance;
        type.lpszClassName = ClassName;
        RegisterClassExW(&type);
    }
    Window = CreateWindowExW(0, ClassName, nullptr, 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr, instance,
                             this);
}

MessageWindow::~MessageWindow() {
    SetWindowLongPtrW(Window, GWLP_USERDATA, 0);
    DestroyWindow(Window);
}

LRESULT CALLBACK MessageWindow::Procedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_NCCREATE) {
        SetWindowLongPtrW(
            window, GWLP_USERDATA,
            reinterpret_cast<LONG_PTR>(reinterpret_cast<CREATESTRUCTW*>(lParam)->lpCreateParams));
    }
    auto* self = reinterpret_cast<MessageWindow*>(GetWindowLongPtrW(window, GWLP_USERDATA));
    if (self != nullptr && (message == WM_TIMER || message >= WM_APP)) {
        // A copy: the handler may end this window.
        const auto handler = self->Handler;
        handler(message, wParam, lParam);
        return 0;
    }
    return DefWindowProcW(window, message, wParam, lParam);
}

} // namespace kadromir::ui
