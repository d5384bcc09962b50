// Dialogs and their controls on Win32: a window of our own class that the message
// loop treats as a dialog (Tab moves between controls, Esc closes), with the
// standard button, edit and up-down controls in it.
#include "ui/dialog.h"

#include "base/screen_geometry.h"
#include "base/win32/wide.h"
#include "form_window.h"
#include "keys_win32.h"
#include "message_loop.h"
#include "window_class.h"

#include <commctrl.h>

#include <algorithm>

namespace kadromir::ui {
namespace {

constexpr wchar_t ClassName[] = L"KadromirDialog";
constexpr DWORD Style = WS_POPUP | WS_CAPTION | WS_SYSMENU | WS_CLIPCHILDREN;
constexpr DWORD ExtendedStyle = WS_EX_DLGMODALFRAME | WS_EX_CONTROLPARENT;

COLORREF ColourRef(std::uint32_t rgb) {
    return RGB((rgb >> 16) & 0xFF, (rgb >> 8) & 0xFF, rgb & 0xFF);
}

// The font dialogs use on this system.
HFONT MessageFont() {
    NONCLIENTMETRICSW metrics{};
    metrics.cbSize = sizeof metrics;
    SystemParametersInfoW(SPI_GETNONCLIENTMETRICS, sizeof metrics, &metrics, 0);
    return CreateFontIndirectW(&metrics.lfMessageFont);
}

SIZE TextSize(HWND window, HFONT font, const std::wstring& text) {
    const HDC context = GetDC(window);
    const HGDIOBJ previous = SelectObject(context, font);
    SIZE size{0, 0};
    GetTextExtentPoint32W(context, text.c_str(), static_cast<int>(text.size()), &size);
    SelectObject(context, previous);
    ReleaseDC(window, context);
    return size;
}

} // namespace

struct Dialog::Native {
    static LRESULT CALLBACK Procedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
    Dialog* Face = nullptr;
    HWND Window = nullptr;
    HWND Owner = nullptr;
    HFONT Font = nullptr;
    HBRUSH Background = nullptr;
    bool Shown = false;

    ~Native() {
        if (Window != nullptr) {
            SetWindowLongPtrW(Window, GWLP_USERDATA, 0);
            DestroyWindow(Window);
        }
        if (Font != nullptr) {
            DeleteObject(Font);
        }
        if (Background != nullptr) {
            DeleteObject(Background);
        }
    }
    void Hide() {
        // The owner first, so that it, not another program, comes to the front.
        EnableWindow(Owner, TRUE);
        ShowWindow(Window, SW_HIDE);
        SetActiveWindow(Owner);
    }
};

struct Control::Native {
    HWND Window = nullptr;
    Control* Face = nullptr;
    // Set while the program changes the text, so that OnEdited stays quiet.
    bool Programmatic = false;
    // An edit field that takes digits only, pasted ones as well.
    bool DigitsOnly = false;
};

LRESULT CALLBACK Dialog::Native::Procedure(HWND window, UINT message, WPARAM wParam,
                                           LPARAM lParam) {
    auto* self = WindowObject<Native>(window, message, lParam);
    if (self == nullptr) {
        return DefWindowProcW(window, message, wParam, lParam);
    }
    switch (message) {
    case WM_CLOSE:
        self->Hide();
        return 0;
    case WM_ERASEBKGND: {
        RECT client;
        GetClientRect(window, &client);
        FillRect(reinterpret_cast<HDC>(wParam), &client, self->Background);
        return 1;
    }
    case WM_CTLCOLORSTATIC:
    case WM_CTLCOLORBTN: {
        // Captions stay dark on the dialog's colour whatever the desktop's scheme.
        const auto context = reinterpret_cast<HDC>(wParam);
        const auto control = reinterpret_cast<HWND>(lParam);
        wchar_t name[16] = {};
        GetClassNameW(control, name, 16);
        if (lstrcmpiW(name, L"Edit") == 0) {
            break; // a read-only field keeps the system's look
        }
        SetTextColor(context, RGB(0, 0, 0));
        SetBkMode(context, TRANSPARENT);
        return reinterpret_cast<LRESULT>(self->Background);
    }
    case WM_COMMAND: {
        if (lParam == 0 && LOWORD(wParam) == IDCANCEL) {
            self->Hide(); // Esc
            return 0;
        }
        const auto control = reinterpret_cast<HWND>(lParam);
        auto* native =
            control != nullptr
                ? reinterpret_cast<Control::Native*>(GetPropW(control, L"KadromirControl"))
                : nullptr;
        if (native == nullptr) {
            break;
        }
        if (HIWORD(wParam) == BN_CLICKED) {
            if (auto* box = dynamic_cast<CheckBox*>(native->Face); box && box->OnClick) {
                const auto click = box->OnClick;
                click();
            } else if (auto* button = dynamic_cast<Button*>(native->Face);
                       button && button->OnClick) {
                const auto click = button->OnClick;
                click();
            }
            return 0;
        }
        if (HIWORD(wParam) == EN_CHANGE && !native->Programmatic) {
            if (auto* field = dynamic_cast<EditField*>(native->Face); field && field->OnEdited) {
                const auto edited = field->OnEdited;
                edited();
            }
            return 0;
        }
        break;
    }
    case WM_NOTIFY: {
        const auto* header = reinterpret_cast<const NMHDR*>(lParam);
        if (header->code == UDN_DELTAPOS) {
            auto* native =
                reinterpret_cast<Control::Native*>(GetPropW(header->hwndFrom, L"KadromirControl"));
            if (auto* arrows = native ? dynamic_cast<UpDown*>(native->Face) : nullptr) {
                const int delta = reinterpret_cast<const NMUPDOWN*>(lParam)->iDelta;
                arrows->Step(delta > 0 ? +1 : -1);
            }
            return 1; // the control's own position never moves, so it never stops
        }
        break;
    }
    default:
        break;
    }
    return DefWindowProcW(window, message, wParam, lParam);
}

Dialog::Dialog(Form& owner, const std::string& caption, int clientWidth, int clientHeight)
    : OwnerForm(owner), Impl(std::make_unique<Native>()) {
    RegisterWindowClass(ClassName, &Native::Procedure);
    const HINSTANCE instance = GetModuleHandleW(nullptr);
    Impl->Face = this;
    Impl->Owner = owner.Window().Handle();
    Impl->Font = MessageFont();
    Impl->Background = CreateSolidBrush(GetSysColor(COLOR_BTNFACE));
    Impl->Window =
        CreateWindowExW(ExtendedStyle, ClassName, Wide(caption).c_str(), Style, CW_USEDEFAULT,
                        CW_USEDEFAULT, 100, 100, Impl->Owner, nullptr, instance, Impl.get());
    SetFixedClientSize(clientWidth, clientHeight);
}

Dialog::~Dialog() {
    // What was made for the dialog goes first, while its window is there.
    while (!FreeList.empty()) {
        FreeList.pop_back();
    }
    if (Impl->Shown && IsWindowVisible(Impl->Window)) {
        Impl->Hide();
    }
}

std::string Dialog::Caption() const {
    std::wstring text(static_cast<std::size_t>(GetWindowTextLengthW(Impl->Window)) + 1, L'\0');
    text.resize(static_cast<std::size_t>(
        GetWindowTextW(Impl->Window, text.data(), static_cast<int>(text.size()))));
    return Narrow(text);
}

void Dialog::SetBackgroundColour(std::uint32_t rgb) {
    DeleteObject(Impl->Background);
    Impl->Background = CreateSolidBrush(ColourRef(rgb));
    InvalidateRect(Impl->Window, nullptr, TRUE);
}

void Dialog::CentreOnPointerDisplay() {
    RECT window;
    GetWindowRect(Impl->Window, &window);
    const Rect screen = PointerDisplay();
    const Position at = CentredPosition({screen.Left, screen.Top, screen.Width, screen.Height},
                                        window.right - window.left, window.bottom - window.top);
    SetWindowPos(Impl->Window, nullptr, at.Left, at.Top, 0, 0,
                 SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

int Dialog::ClientWidth() const {
    RECT client;
    GetClientRect(Impl->Window, &client);
    return client.right;
}

int Dialog::ClientHeight() const {
    RECT client;
    GetClientRect(Impl->Window, &client);
    return client.bottom;
}

void Dialog::SetFixedClientSize(int width, int height) {
    // The frame has no resize border, so the user cannot change the size.
    RECT outer{0, 0, width, height};
    AdjustWindowRectEx(&outer, Style, FALSE, ExtendedStyle);
    SetWindowPos(Impl->Window, nullptr, 0, 0, outer.right - outer.left, outer.bottom - outer.top,
                 SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
}

int Dialog::FrameWidth() const {
    if (!IsWindowVisible(Impl->Window)) {
        return 0;
    }
    RECT window;
    GetWindowRect(Impl->Window, &window);
    return (window.right - window.left) - ClientWidth();
}

void Dialog::Show() {
    ShowWindow(Impl->Window, SW_SHOW);
    Impl->Shown = true;
    if (OnShown) {
        OnShown();
    }
}

bool Dialog::Visible() const {
    return IsWindowVisible(Impl->Window) != FALSE;
}

void Dialog::Close() {
    if (Visible()) {
        Impl->Hide();
    }
}

void Dialog::RunModal() {
    EnableWindow(Impl->Owner, FALSE);
    Show();
    // The first control that takes the keyboard gets it.
    if (const HWND first = GetNextDlgTabItem(Impl->Window, nullptr, FALSE)) {
        SetFocus(first);
    }
    const HWND window = Impl->Window;
    RunMessages([window] { return !IsWindowVisible(window); });
    EnableWindow(Impl->Owner, TRUE);
    SetForegroundWindow(Impl->Owner);
}

// Controls.

namespace {

std::unique_ptr<Control::Native> MakeControl(Dialog& dialog, const wchar_t* type,
                                             const std::string& text, DWORD style,
                                             const Rect& bounds) {
    auto native = std::make_unique<Control::Native>();
    const HWND parent = dialog.Parts().Window;
    native->Window = CreateWindowExW(std::wstring_view(type) == L"Edit" ? WS_EX_CLIENTEDGE : 0,
                                     type, Wide(text).c_str(), WS_CHILD | WS_VISIBLE | style,
                                     bounds.Left, bounds.Top, bounds.Width, bounds.Height, parent,
                                     nullptr, GetModuleHandleW(nullptr), nullptr);
    SendMessageW(native->Window, WM_SETFONT, reinterpret_cast<WPARAM>(dialog.Parts().Font), FALSE);
    SetPropW(native->Window, L"KadromirControl", native.get());
    return native;
}

// A check box or button just large enough for its caption.
Rect CaptionBounds(Dialog& dialog, const std::string& caption, int left, int top, bool check) {
    const SIZE text = TextSize(dialog.Parts().Window, dialog.Parts().Font, Wide(caption));
    if (check) {
        const int box = GetSystemMetrics(SM_CXMENUCHECK);
        return {left, top, text.cx + box + 8, std::max<int>(text.cy, box) + 4};
    }
    return {left, top, text.cx + 24, text.cy + 12};
}

} // namespace

Control::Control(std::unique_ptr<Native> native) : Impl(std::move(native)) {
    Impl->Face = this;
}

Control::~Control() {
    RemovePropW(Impl->Window, L"KadromirControl");
    DestroyWindow(Impl->Window);
}

Rect Control::Bounds() const {
    return BoundsInParent(Impl->Window);
}

void Control::SetBounds(const Rect& bounds) {
    SetBoundsInParent(Impl->Window, bounds);
}

bool Control::Enabled() const {
    return IsWindowEnabled(Impl->Window) != FALSE;
}

void Control::SetEnabled(bool enabled) {
    EnableWindow(Impl->Window, enabled);
}

namespace {
std::string WindowText(HWND window) {
    std::wstring text(static_cast<std::size_t>(GetWindowTextLengthW(window)) + 1, L'\0');
    text.resize(static_cast<std::size_t>(
        GetWindowTextW(window, text.data(), static_cast<int>(text.size()))));
    return Narrow(text);
}
} // namespace

CheckBox::CheckBox(Dialog& dialog, const std::string& caption, int left, int top)
    : Control(MakeControl(dialog, L"Button", caption, BS_AUTOCHECKBOX | WS_TABSTOP,
                          CaptionBounds(dialog, caption, left, top, true))) {}

std::string CheckBox::Caption() const {
    return WindowText(Impl->Window);
}

bool CheckBox::Checked() const {
    return SendMessageW(Impl->Window, BM_GETCHECK, 0, 0) == BST_CHECKED;
}

void CheckBox::SetChecked(bool checked) {
    SendMessageW(Impl->Window, BM_SETCHECK, checked ? BST_CHECKED : BST_UNCHECKED, 0);
}

void CheckBox::Click() {
    if (Enabled()) {
        SendMessageW(Impl->Window, BM_CLICK, 0, 0); // turns the tick, then BN_CLICKED
    }
}

Button::Button(Dialog& dialog, const std::string& caption, int left, int top)
    : Control(MakeControl(dialog, L"Button", caption, BS_PUSHBUTTON | WS_TABSTOP,
                          CaptionBounds(dialog, caption, left, top, false))) {}

std::string Button::Caption() const {
    return WindowText(Impl->Window);
}

void Button::Click() {
    if (Enabled()) {
        SendMessageW(Impl->Window, BM_CLICK, 0, 0);
    }
}

namespace {

bool ClipboardHoldsDigitsOnly() {
    if (!OpenClipboard(nullptr)) {
        return false;
    }
    bool digits = false;
    if (const HANDLE data = GetClipboardData(CF_UNICODETEXT)) {
        if (const auto* text = static_cast<const wchar_t*>(GlobalLock(data))) {
            const std::wstring_view view(text);
            digits = std::all_of(view.begin(), view.end(),
                                 [](wchar_t c) { return c >= L'0' && c <= L'9'; });
            GlobalUnlock(data);
        }
    }
    CloseClipboard();
    return digits;
}

// The edit field's own keys and focus, before the control handles them.
LRESULT CALLBACK EditKeys(HWND window, UINT message, WPARAM wParam, LPARAM lParam, UINT_PTR,
                          DWORD_PTR data) {
    auto* field = reinterpret_cast<EditField*>(data);
    switch (message) {
    case WM_GETDLGCODE:
        // The field sees the arrows and Enter itself; Tab and Esc stay the dialog's.
        return DefSubclassProc(window, message, wParam, lParam) | DLGC_WANTARROWS;
    case WM_KEYDOWN:
        if (field->OnKeyDown) {
            const auto keys = field->OnKeyDown;
            if (keys(KeyEventOf(wParam, lParam))) {
                return 0;
            }
        }
        break;
    case WM_KEYUP: {
        const LRESULT result = DefSubclassProc(window, message, wParam, lParam);
        if (field->OnKeyUp) {
            const auto keys = field->OnKeyUp;
            keys(KeyEventOf(wParam, lParam));
        }
        return result;
    }
    case WM_KILLFOCUS: {
        const LRESULT result = DefSubclassProc(window, message, wParam, lParam);
        if (field->OnFocusLost) {
            const auto lost = field->OnFocusLost;
            lost();
        }
        return result;
    }
    case WM_PASTE:
        if (field->Parts().DigitsOnly && !ClipboardHoldsDigitsOnly()) {
            MessageBeep(MB_OK);
            return 0;
        }
        break;
    case WM_NCDESTROY:
        RemoveWindowSubclass(window, &EditKeys, 1);
        break;
    default:
        break;
    }
    return DefSubclassProc(window, message, wParam, lParam);
}

} // namespace

EditField::EditField(Dialog& dialog, const Rect& bounds)
    : Control(MakeControl(dialog, L"Edit", "", ES_CENTER | ES_AUTOHSCROLL | WS_TABSTOP, bounds)) {
    SetWindowSubclass(Impl->Window, &EditKeys, 1, reinterpret_cast<DWORD_PTR>(this));
}

std::string EditField::Text() const {
    return WindowText(Impl->Window);
}

void EditField::SetText(const std::string& text) {
    Impl->Programmatic = true;
    SetWindowTextW(Impl->Window, Wide(text).c_str());
    Impl->Programmatic = false;
}

void EditField::SetReadOnly(bool readOnly) {
    SendMessageW(Impl->Window, EM_SETREADONLY, readOnly ? TRUE : FALSE, 0);
}

bool EditField::ReadOnly() const {
    return (GetWindowLongPtrW(Impl->Window, GWL_STYLE) & ES_READONLY) != 0;
}

void EditField::SetDigitsOnly() {
    // ES_NUMBER refuses typed keys only; a paste is checked where it arrives.
    SetWindowLongPtrW(Impl->Window, GWL_STYLE,
                      GetWindowLongPtrW(Impl->Window, GWL_STYLE) | ES_NUMBER);
    Impl->DigitsOnly = true;
}

void EditField::KeepSelection() {
    SetWindowLongPtrW(Impl->Window, GWL_STYLE,
                      GetWindowLongPtrW(Impl->Window, GWL_STYLE) | ES_NOHIDESEL);
}

void EditField::Focus() {
    SetFocus(Impl->Window);
}

UpDown::UpDown(Dialog& dialog)
    : Control(MakeControl(dialog, UPDOWN_CLASSW, "", UDS_ARROWKEYS, {0, 0, 17, 22})) {
    // A range with room both ways, so that either arrow always steps.
    SendMessageW(Impl->Window, UDM_SETRANGE32, 0, 1000);
    SendMessageW(Impl->Window, UDM_SETPOS32, 0, 500);
}

void UpDown::Step(int direction) {
    if (OnStep) {
        const auto step = OnStep;
        step(direction);
    }
}

} // namespace kadromir::ui
