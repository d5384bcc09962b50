// Context menus of a form's child windows on Win32.
#include "context_menu.h"

#include "form_window.h"
#include "ui/menu.h"

#include <windowsx.h>

namespace kadromir::ui {

void AttachContextMenu(FormWindow& form, HWND child, Menu& menu) {
    form.AddMessageHandler(
        child, [child, &menu](UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) {
            if (message != WM_CONTEXTMENU || reinterpret_cast<HWND>(wParam) != child) {
                return false;
            }
            POINT at{GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)};
            if (at.x == -1 && at.y == -1) {
                at = {0, 0};
                ClientToScreen(child, &at);
            }
            menu.ShowPopup({at.x, at.y});
            result = 0;
            return true;
        });
}

void DetachContextMenu(FormWindow& form, HWND child) {
    form.RemoveMessageHandler(child);
}

} // namespace kadromir::ui
