#pragma once

#include <windows.h>

#include <functional>

namespace kadromir::ui {

// A hidden window that only receives messages (timer ticks, work handed over from
// other threads) and gives each to its handler on the thread that made it.
class MessageWindow {
  public:
    explicit MessageWindow(std::function<void(UINT message, WPARAM, LPARAM)> handler);
    ~MessageWindow();
    MessageWindow(const MessageWindow&) = delete;
    MessageWindow& operator=(const MessageWindow&) = delete;
    HWND Handle() const { return Window; }

  private:
    static LRESULT CALLBACK Procedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
    std::function<void(UINT, WPARAM, LPARAM)> Handler;
    HWND Window = nullptr;
};

} // namespace kadromir::ui
