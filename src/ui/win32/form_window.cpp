// The form's window on Win32.
#include "form_window.h"
#include "window_class.h"

#include "base/screen_geometry.h"
#include "base/win32/wide.h"
#include "keys_win32.h"

#include <commctrl.h>
#include <dwmapi.h>
#include <shellapi.h>
#include <windowsx.h>

#include <algorithm>

namespace kadromir::ui {
namespace {

constexpr wchar_t ClassName[] = L"KadromirForm";
constexpr wchar_t FormProperty[] = L"KadromirFormWindow";
constexpr DWORD Style = WS_OVERLAPPEDWINDOW | WS_CLIPCHILDREN;
constexpr DWORD ExtendedStyle = WS_EX_ACCEPTFILES;

COLORREF ColourRef(std::uint32_t rgb) {
    return RGB((rgb >> 16) & 0xFF, (rgb >> 8) & 0xFF, rgb & 0xFF);
}

Rect RectOf(const RECT& r) {
    return RectFromEdges(r.left, r.top, r.right, r.bottom);
}

} // namespace

FormWindow::FormWindow(const std::string& caption) : FaceForm(new Form(*this)) {
    RegisterWindowClass(ClassName, &FormWindow::Procedure);
    const HINSTANCE instance = GetModuleHandleW(nullptr);
    BackgroundBrush = CreateSolidBrush(ColourRef(Background));
    Window = CreateWindowExW(ExtendedStyle, ClassName, Wide(caption).c_str(), Style, CW_USEDEFAULT,
                             CW_USEDEFAULT, 400, 300, nullptr, nullptr, instance, this);
}

FormWindow::~FormWindow() {
    if (BackgroundBrush != nullptr) {
        DeleteObject(BackgroundBrush);
    }
}

FormWindow* FormWindow::Of(HWND window) {
    return window != nullptr ? static_cast<FormWindow*>(GetPropW(window, FormProperty)) : nullptr;
}

std::vector<FormWindow*> FormWindow::AllOfThisThread() {
    std::vector<FormWindow*> forms;
    EnumThreadWindows(
        GetCurrentThreadId(),
        [](HWND window, LPARAM list) -> BOOL {
            if (FormWindow* form = Of(window)) {
                reinterpret_cast<std::vector<FormWindow*>*>(list)->push_back(form);
            }
            return TRUE;
        },
        reinterpret_cast<LPARAM>(&forms));
    return forms;
}

LRESULT CALLBACK FormWindow::Procedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_NCCREATE) {
        auto* self =
            static_cast<FormWindow*>(reinterpret_cast<CREATESTRUCTW*>(lParam)->lpCreateParams);
        self->Window = window;
        SetPropW(window, FormProperty, self);
    }
    FormWindow* self = Of(window);
    if (self == nullptr) {
        return DefWindowProcW(window, message, wParam, lParam);
    }
    if (message == WM_NCDESTROY) {
        RemovePropW(window, FormProperty);
        delete self; // the form goes with its window
        return DefWindowProcW(window, message, wParam, lParam);
    }
    return self->Handle(message, wParam, lParam);
}

LRESULT FormWindow::Handle(UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_COMMAND || message == WM_NOTIFY || message == WM_CONTEXTMENU) {
        // A copy: a handler may add or remove handlers.
        const auto handlers = MessageHandlers;
        for (const auto& [key, handler] : handlers) {
            LRESULT result = 0;
            if (handler(message, wParam, lParam, result)) {
                return result;
            }
        }
    }
    switch (message) {
    case WM_CLOSE:
        if (FaceForm->OnCloseRequest) {
            FaceForm->OnCloseRequest();
        }
        DestroyWindow(Window);
        return 0;
    case WM_DESTROY:
        // What was made for the window goes first, while every control is still there.
        FaceForm->ReleaseOwned();
        Alive.reset();
        return 0;
    case WM_ERASEBKGND: {
        RECT client;
        GetClientRect(Window, &client);
        FillRect(reinterpret_cast<HDC>(wParam), &client, BackgroundBrush);
        return 1;
    }
    case WM_SIZE:
        if (StatusLine != nullptr) {
            SendMessageW(StatusLine, WM_SIZE, 0, 0);
        }
        for (HWND child = GetWindow(Window, GW_CHILD); child != nullptr;
             child = GetWindow(child, GW_HWNDNEXT)) {
            wchar_t name[32] = {};
            GetClassNameW(child, name, 32);
            if (lstrcmpiW(name, TOOLBARCLASSNAMEW) == 0) {
                SendMessageW(child, TB_AUTOSIZE, 0, 0);
            }
        }
        if (wParam != SIZE_MINIMIZED && FaceForm->OnClientResize) {
            FaceForm->OnClientResize();
        }
        return 0;
    case WM_SYSCOMMAND:
        if (FaceForm->OnSystemCommand) {
            switch (wParam & 0xFFF0) {
            case SC_MINIMIZE:
                FaceForm->OnSystemCommand(SystemCommand::Minimize);
                break;
            case SC_MAXIMIZE:
                FaceForm->OnSystemCommand(SystemCommand::Maximize);
                break;
            case SC_RESTORE:
                FaceForm->OnSystemCommand(SystemCommand::Restore);
                break;
            default:
                break;
            }
        }
        break;
    case WM_KEYDOWN:
    case WM_SYSKEYDOWN:
        if (FaceForm->OnKeyDown) {
            FaceForm->OnKeyDown(KeyEventOf(wParam, lParam));
        }
        if (message == WM_KEYDOWN) {
            return 0;
        }
        break;
    case WM_CHAR:
        // A character beyond the first plane comes in two halves.
        if (IS_HIGH_SURROGATE(wParam)) {
            PendingHalf = static_cast<wchar_t>(wParam);
            return 0;
        }
        if (FaceForm->OnCharacter && wParam >= 0x20 && wParam != 0x7F) {
            std::wstring typed;
            if (IS_LOW_SURROGATE(wParam) && PendingHalf != 0) {
                typed += PendingHalf;
            }
            typed += static_cast<wchar_t>(wParam);
            FaceForm->OnCharacter(Narrow(typed));
        }
        PendingHalf = 0;
        return 0;
    case WM_MOUSEWHEEL: {
        // The wheel reaches the window with the keyboard: it goes on to the child under
        // the pointer.
        POINT at{GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)};
        ScreenToClient(Window, &at);
        const HWND child = ChildWindowFromPointEx(Window, at, CWP_SKIPINVISIBLE | CWP_SKIPDISABLED);
        if (child != nullptr && child != Window) {
            return SendMessageW(child, message, wParam, lParam);
        }
        break;
    }
    case WM_DROPFILES: {
        const auto drop = reinterpret_cast<HDROP>(wParam);
        std::string joined;
        const UINT count = DragQueryFileW(drop, 0xFFFFFFFF, nullptr, 0);
        for (UINT i = 0; i < count; ++i) {
            std::wstring name(DragQueryFileW(drop, i, nullptr, 0) + 1, L'\0');
            name.resize(DragQueryFileW(drop, i, name.data(), static_cast<UINT>(name.size())));
            if (!name.empty()) {
                joined += (joined.empty() ? "" : "\r") + Narrow(name);
            }
        }
        DragFinish(drop);
        if (!joined.empty() && FaceForm->OnFilesDropped) {
            FaceForm->OnFilesDropped(joined);
        }
        return 0;
    }
    default:
        break;
    }
    return DefWindowProcW(Window, message, wParam, lParam);
}

void FormWindow::AddMessageHandler(const void* key, MessageHandler handler) {
    MessageHandlers.emplace_back(key, std::move(handler));
}

void FormWindow::RemoveMessageHandler(const void* key) {
    std::erase_if(MessageHandlers, [key](const auto& entry) { return entry.first == key; });
}

void FormWindow::SetAccelerator(const void* key, const Shortcut& shortcut,
                                std::function<void()> run) {
    std::erase_if(Accelerators, [key](const Accelerator& entry) { return entry.Key == key; });
    if (!shortcut.Empty()) {
        Accelerators.push_back({key, shortcut, std::move(run)});
    }
}

bool FormWindow::RunAccelerator(const MSG& message) {
    if (message.message != WM_KEYDOWN && message.message != WM_SYSKEYDOWN) {
        return false;
    }
    const KeyEvent key = KeyEventOf(message.wParam, message.lParam);
    for (const Accelerator& entry : Accelerators) {
        if (ShortcutMatches(entry.Keys, key)) {
            const auto run = entry.Run; // the accelerator may be replaced while it runs
            run();
            return true;
        }
    }
    return false;
}

void FormWindow::SetMenuBar(HMENU menu) {
    // The client area keeps its size; the window grows by the bar.
    const int width = ClientWidth(), height = ClientHeight();
    SetMenu(Window, menu);
    SetClientSize(width, height);
}

void FormWindow::AddIdleHandler(const void* key, std::function<void()> handler) {
    IdleHandlers.emplace_back(key, std::move(handler));
}

void FormWindow::RemoveIdleHandler(const void* key) {
    std::erase_if(IdleHandlers, [key](const auto& entry) { return entry.first == key; });
}

void FormWindow::RunIdleHandlers() {
    const auto handlers = IdleHandlers;
    for (const auto& [key, handler] : handlers) {
        handler();
    }
}

void FormWindow::SetCaption(const std::string& caption) {
    SetWindowTextW(Window, Wide(caption).c_str());
}

std::string FormWindow::Caption() const {
    std::wstring text(static_cast<std::size_t>(GetWindowTextLengthW(Window)) + 1, L'\0');
    text.resize(static_cast<std::size_t>(
        GetWindowTextW(Window, text.data(), static_cast<int>(text.size()))));
    return Narrow(text);
}

Margins FormWindow::Invisible() const {
    RECT window, drawn;
    GetWindowRect(Window, &window);
    std::optional<Rect> frame;
    if (IsWindowVisible(Window) &&
        SUCCEEDED(
            DwmGetWindowAttribute(Window, DWMWA_EXTENDED_FRAME_BOUNDS, &drawn, sizeof drawn))) {
        frame = RectOf(drawn);
    }
    return InvisibleBorder(RectOf(window), frame);
}

Margins FormWindow::Frame() const {
    RECT empty{0, 0, 0, 0};
    AdjustWindowRectEx(&empty, static_cast<DWORD>(GetWindowLongPtrW(Window, GWL_STYLE)),
                       GetMenu(Window) != nullptr,
                       static_cast<DWORD>(GetWindowLongPtrW(Window, GWL_EXSTYLE)));
    return FrameOfAdjustedEmptyRect(RectOf(empty));
}

Rect FormWindow::OuterBounds() const {
    RECT window;
    GetWindowRect(Window, &window);
    return VisibleBounds(RectOf(window), Invisible());
}

void FormWindow::SetOuterBounds(const Rect& bounds) {
    const Rect window = WindowRectFor(bounds, Invisible());
    SetWindowPos(Window, nullptr, window.Left, window.Top, window.Width, window.Height,
                 SWP_NOZORDER | SWP_NOACTIVATE);
}

int FormWindow::StatusHeight() const {
    if (StatusLine == nullptr) {
        return 0;
    }
    RECT status;
    GetWindowRect(StatusLine, &status);
    return status.bottom - status.top;
}

int FormWindow::ClientWidth() const {
    RECT client;
    GetClientRect(Window, &client);
    return client.right;
}

int FormWindow::ClientHeight() const {
    RECT client;
    GetClientRect(Window, &client);
    return std::max(0, static_cast<int>(client.bottom) - StatusHeight());
}

void FormWindow::SetClientSize(int width, int height) {
    // Twice at most: a menu bar that wraps onto a second line takes more than the
    // frame arithmetic foretells, and the second request counts it.
    for (int attempt = 0; attempt < 2; ++attempt) {
        RECT window;
        GetWindowRect(Window, &window);
        const Rect size = WindowSizeForClient(width, height, Frame(), StatusHeight());
        const int extraWidth = attempt == 0 ? 0 : width - ClientWidth();
        const int extraHeight = attempt == 0 ? 0 : height - ClientHeight();
        if (attempt == 1 && extraWidth == 0 && extraHeight == 0) {
            return;
        }
        const int outerWidth =
            attempt == 0 ? size.Width : (window.right - window.left) + extraWidth;
        const int outerHeight =
            attempt == 0 ? size.Height : (window.bottom - window.top) + extraHeight;
        SetWindowPos(Window, nullptr, 0, 0, outerWidth, outerHeight,
                     SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
    }
}

void FormWindow::MoveClient(int left, int top) {
    RECT window;
    GetWindowRect(Window, &window);
    POINT origin{0, 0};
    ClientToScreen(Window, &origin);
    SetWindowPos(Window, nullptr, left - (origin.x - window.left), top - (origin.y - window.top), 0,
                 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

void FormWindow::CentreOnPointerDisplay() {
    const Rect screen = PointerDisplay();
    const Rect outer = OuterBounds();
    const Position at = CentredPosition({screen.Left, screen.Top, screen.Width, screen.Height},
                                        outer.Width, outer.Height);
    SetOuterBounds({at.Left, at.Top, outer.Width, outer.Height});
}

void FormWindow::SetBackgroundColour(std::uint32_t colour) {
    Background = colour;
    if (BackgroundBrush != nullptr) {
        DeleteObject(BackgroundBrush);
    }
    BackgroundBrush = CreateSolidBrush(ColourRef(colour));
    InvalidateRect(Window, nullptr, TRUE);
}

void FormWindow::SetStatusText(const std::string& text) {
    if (StatusLine == nullptr) {
        const int width = ClientWidth(), height = ClientHeight();
        StatusLine = CreateWindowExW(0, STATUSCLASSNAMEW, nullptr, WS_CHILD | WS_VISIBLE, 0, 0, 0,
                                     0, Window, nullptr, GetModuleHandleW(nullptr), nullptr);
        SendMessageW(StatusLine, SB_SIMPLE, TRUE, 0);
        SetClientSize(width, height);
    }
    SendMessageW(StatusLine, SB_SETTEXTW, SB_SIMPLEID,
                 reinterpret_cast<LPARAM>(Wide(text).c_str()));
}

std::string FormWindow::StatusText() const {
    if (StatusLine == nullptr) {
        return {};
    }
    const auto length = LOWORD(SendMessageW(StatusLine, SB_GETTEXTLENGTHW, SB_SIMPLEID, 0));
    std::wstring text(static_cast<std::size_t>(length) + 1, L'\0');
    SendMessageW(StatusLine, SB_GETTEXTW, SB_SIMPLEID, reinterpret_cast<LPARAM>(text.data()));
    text.resize(length);
    return Narrow(text);
}

} // namespace kadromir::ui
