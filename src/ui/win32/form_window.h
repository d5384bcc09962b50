#pragma once

#include "frame_metrics.h"
#include "ui/form.h"

#include <windows.h>

#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <vector>

namespace kadromir::ui {

// The Win32 window behind a Form: a top-level window with the menu bar, the client
// area (the toolbar and the paint boxes are its children) and the status line at its
// bottom. It owns its Form, which goes with it when the window is destroyed.
class FormWindow {
  public:
    explicit FormWindow(const std::string& caption);
    ~FormWindow();
    FormWindow(const FormWindow&) = delete;
    FormWindow& operator=(const FormWindow&) = delete;

    // The form window of a top-level window, or null for any other window.
    static FormWindow* Of(HWND window);
    // Every form window of this thread.
    static std::vector<FormWindow*> AllOfThisThread();

    Form& Face() const { return *FaceForm; }
    HWND Handle() const { return Window; }
    // Alive while the window is; a timer or a late message keeps a weak reference.
    std::weak_ptr<const bool> AliveToken() const { return Alive; }

    // Messages the window's children send it (WM_COMMAND, WM_NOTIFY, WM_CONTEXTMENU):
    // each handler sees them in turn until one takes the message.
    using MessageHandler = std::function<bool(UINT message, WPARAM, LPARAM, LRESULT& result)>;
    void AddMessageHandler(const void* key, MessageHandler handler);
    void RemoveMessageHandler(const void* key);
    // A new command identifier for a menu item.
    UINT NewCommandId() { return NextCommandId++; }

    // Keys that run a command while the window is active, before the window sees them.
    void SetAccelerator(const void* key, const Shortcut& shortcut, std::function<void()> run);
    bool RunAccelerator(const MSG& message);

    void SetMenuBar(HMENU menu);
    void RunIdleHandlers();
    void AddIdleHandler(const void* key, std::function<void()> handler);
    void RemoveIdleHandler(const void* key);

    void SetCaption(const std::string& caption);
    std::string Caption() const;

    // The frame the user sees (without the invisible resize border).
    Rect OuterBounds() const;
    void SetOuterBounds(const Rect& bounds);
    int ClientWidth() const;
    int ClientHeight() const;
    void SetClientSize(int width, int height);
    void MoveClient(int left, int top);
    void CentreOnPointerDisplay();

    void SetBackgroundColour(std::uint32_t colour);
    std::uint32_t BackgroundColour() const { return Background; }
    void SetStatusText(const std::string& text);
    std::string StatusText() const;
    bool HasStatusLine() const { return StatusLine != nullptr; }

  private:
    static LRESULT CALLBACK Procedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
    LRESULT Handle(UINT message, WPARAM wParam, LPARAM lParam);
    int StatusHeight() const;
    Margins Frame() const;
    Margins Invisible() const;

    HWND Window = nullptr;
    std::unique_ptr<Form> FaceForm;
    std::shared_ptr<const bool> Alive = std::make_shared<const bool>(true);
    HWND StatusLine = nullptr;
    HBRUSH BackgroundBrush = nullptr;
    std::uint32_t Background = 0xFFF0F0F0;
    wchar_t PendingHalf = 0; // the first half of a typed character beyond the first plane
    UINT NextCommandId = 100;
    struct Accelerator {
        const void* Key;
        Shortcut Keys;
        std::function<void()> Run;
    };
    std::vector<Accelerator> Accelerators;
    std::vector<std::pair<const void*, MessageHandler>> MessageHandlers;
    std::vector<std::pair<const void*, std::function<void()>>> IdleHandlers;
};

} // namespace kadromir::ui
