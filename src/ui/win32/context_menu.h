#pragma once

#include <windows.h>

namespace kadromir::ui {

class FormWindow;
class Menu;

// Shows `menu` where the user asks for a context menu on `child`, a window of the
// form: at the pointer, or under the child's corner when asked from the keyboard.
void AttachContextMenu(FormWindow& form, HWND child, Menu& menu);
// Stops showing it (the child is going).
void DetachContextMenu(FormWindow& form, HWND child);

} // namespace kadromir::ui
