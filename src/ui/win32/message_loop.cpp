// The message loop on Win32.
#include "message_loop.h"

#include "form_window.h"

namespace kadromir::ui {

int RunMessages(const std::function<bool()>& finished) {
    for (;;) {
        if (finished()) {
            return 0;
        }
        MSG message;
        if (!PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
            for (FormWindow* form : FormWindow::AllOfThisThread()) {
                form->RunIdleHandlers();
            }
            if (finished()) {
                return 0;
            }
            if (!PeekMessageW(&message, nullptr, 0, 0, PM_NOREMOVE)) {
                WaitMessage();
            }
            continue;
        }
        if (message.message == WM_QUIT) {
            PostQuitMessage(static_cast<int>(message.wParam));
            return static_cast<int>(message.wParam);
        }
        const HWND root = message.hwnd != nullptr ? GetAncestor(message.hwnd, GA_ROOT) : nullptr;
        if (FormWindow* form = FormWindow::Of(root)) {
            if (form->RunAccelerator(message)) {
                continue;
            }
        } else if (root != nullptr &&
                   (GetWindowLongPtrW(root, GWL_EXSTYLE) & WS_EX_CONTROLPARENT) &&
                   IsDialogMessageW(root, &message)) {
            continue;
        }
        TranslateMessage(&message);
        DispatchMessageW(&message);
    }
}

} // namespace kadromir::ui
