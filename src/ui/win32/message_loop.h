#pragma once

#include <functional>

namespace kadromir::ui {

// Runs the thread's messages until `finished` says so: each form's accelerators come
// before the window sees the key, a dialog's keys move between its controls, and when
// the queue runs empty every form's idle handlers run before the thread waits.
// A WM_QUIT ends it too, and is left for any loop outside it. Its exit code.
int RunMessages(const std::function<bool()>& finished);

} // namespace kadromir::ui
