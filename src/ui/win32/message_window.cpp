// Hidden message windows on Win32.
#include "message_window.h"

#include "window_class.h"

namespace kadromir::ui {
namespace {
constexpr wchar_t ClassName[] = L"KadromirMessages";
}

MessageWindow::MessageWindow(std::function<void(UINT, WPARAM, LPARAM)> handler)
    : Handler(std::move(handler)) {
    RegisterWindowClass(ClassName, &MessageWindow::Procedure);
    const HINSTANCE instance = GetModuleHandleW(nullptr);
    Window = CreateWindowExW(0, ClassName, nullptr, 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr, instance,
                             this);
}

MessageWindow::~MessageWindow() {
    SetWindowLongPtrW(Window, GWLP_USERDATA, 0);
    DestroyWindow(Window);
}

LRESULT CALLBACK MessageWindow::Procedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    auto* self = WindowObject<MessageWindow>(window, message, lParam);
    if (self != nullptr && (message == WM_TIMER || message >= WM_APP)) {
        // A copy: the handler may end this window.
        const auto handler = self->Handler;
        handler(message, wParam, lParam);
        return 0;
    }
    return DefWindowProcW(window, message, wParam, lParam);
}

} // namespace kadromir::ui
