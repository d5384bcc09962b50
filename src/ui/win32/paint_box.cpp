// The paint box on Win32: a child window painted by its handler into an off-screen
// bitmap, which then goes to the screen at once (no flicker between the parts).
#include "ui/paint_box.h"

#include "base/win32/wide.h"
#include "context_menu.h"
#include "form_window.h"
#include "window_class.h"

#include <windowsx.h>

namespace kadromir::ui {
namespace {

constexpr wchar_t ClassName[] = L"KadromirPaintBox";

class GdiCanvas final : public Canvas {
  public:
    explicit GdiCanvas(HDC target) : Target(target) {}
    void StretchDraw(const Image& image, const Rect& target) override {
        if (image.Empty() || target.Width <= 0 || target.Height <= 0) {
            return;
        }
        BITMAPINFO info{};
        info.bmiHeader.biSize = sizeof info.bmiHeader;
        info.bmiHeader.biWidth = image.Width;
        info.bmiHeader.biHeight = -image.Height; // rows from the top
        info.bmiHeader.biPlanes = 1;
        info.bmiHeader.biBitCount = 32;
        info.bmiHeader.biCompression = BI_RGB;
        // Whole pixels repeated or dropped: no blending of neighbours.
        SetStretchBltMode(Target, COLORONCOLOR);
        StretchDIBits(Target, target.Left, target.Top, target.Width, target.Height, 0, 0,
                      image.Width, image.Height, image.Pixels.data(), &info, DIB_RGB_COLORS,
                      SRCCOPY);
    }

    void FillRect(const Rect& target, std::uint32_t colour) override {
        const HBRUSH brush =
            CreateSolidBrush(RGB((colour >> 16) & 0xFF, (colour >> 8) & 0xFF, colour & 0xFF));
        const RECT area{target.Left, target.Top, target.Left + target.Width,
                        target.Top + target.Height};
        ::FillRect(Target, &area, brush);
        DeleteObject(brush);
    }
    void DrawCaption(const Rect& box, const std::string& text, std::uint32_t colour) override {
        std::wstring wide = Wide(text);
        RECT area{box.Left, box.Top, box.Left + box.Width, box.Top + box.Height};
        const HGDIOBJ previous = SelectObject(Target, GetStockObject(DEFAULT_GUI_FONT));
        SetTextColor(Target, RGB((colour >> 16) & 0xFF, (colour >> 8) & 0xFF, colour & 0xFF));
        SetBkMode(Target, TRANSPARENT);
        ::DrawTextW(Target, wide.data(), static_cast<int>(wide.size()), &area,
                    DT_CENTER | DT_VCENTER | DT_SINGLELINE | DT_END_ELLIPSIS | DT_NOPREFIX);
        SelectObject(Target, previous);
    }

  private:
    HDC Target;
};

} // namespace

struct PaintBox::Native {
    static LRESULT CALLBACK Procedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
    FormWindow* Owner = nullptr;
    std::weak_ptr<const bool> OwnerAlive;
    HWND Window = nullptr;
    PaintBox* Box = nullptr;
    int WheelDelta = 0;
};

LRESULT CALLBACK PaintBox::Native::Procedure(HWND window, UINT message, WPARAM wParam,
                                             LPARAM lParam) {
    auto* self = WindowObject<Native>(window, message, lParam);
    if (self == nullptr) {
        return DefWindowProcW(window, message, wParam, lParam);
    }
    switch (message) {
    case WM_ERASEBKGND:
        return 1; // every paint covers the whole box
    case WM_PAINT: {
        PAINTSTRUCT paint;
        const HDC screen = BeginPaint(window, &paint);
        RECT client;
        GetClientRect(window, &client);
        const HDC memory = CreateCompatibleDC(screen);
        const HBITMAP bitmap = CreateCompatibleBitmap(screen, client.right, client.bottom);
        const HGDIOBJ previous = SelectObject(memory, bitmap);
        if (self->Box->OnPaint) {
            GdiCanvas canvas(memory);
            self->Box->OnPaint(canvas);
        }
        BitBlt(screen, 0, 0, client.right, client.bottom, memory, 0, 0, SRCCOPY);
        SelectObject(memory, previous);
        DeleteObject(bitmap);
        DeleteDC(memory);
        EndPaint(window, &paint);
        return 0;
    }
    case WM_LBUTTONDOWN:
    case WM_LBUTTONDBLCLK: {
        const Point at{GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)};
        const auto& handler =
            message == WM_LBUTTONDOWN ? self->Box->OnClick : self->Box->OnDoubleClick;
        if (handler) {
            const auto run = handler;
            run(at);
        }
        return 0;
    }
    case WM_MOUSEWHEEL: {
        // Notches of WHEEL_DELTA; a finer wheel's parts add up.
        self->WheelDelta += GET_WHEEL_DELTA_WPARAM(wParam);
        const int notches = self->WheelDelta / WHEEL_DELTA;
        self->WheelDelta -= notches * WHEEL_DELTA;
        if (notches != 0 && self->Box->OnWheel) {
            const auto wheel = self->Box->OnWheel;
            wheel(notches);
        }
        return 0;
    }
    case WM_SIZE:
        if (self->Box->OnResize) {
            self->Box->OnResize();
        }
        return 0;
    case WM_NCDESTROY:
        SetWindowLongPtrW(window, GWLP_USERDATA, 0);
        break;
    default:
        break;
    }
    return DefWindowProcW(window, message, wParam, lParam);
}

PaintBox::PaintBox(Form& form) : Impl(std::make_unique<Native>()) {
    // A new size repaints the whole box: the picture is stretched over all of it.
    RegisterWindowClass(ClassName, &Native::Procedure, CS_HREDRAW | CS_VREDRAW | CS_DBLCLKS);
    const HINSTANCE instance = GetModuleHandleW(nullptr);
    Impl->Owner = &form.Window();
    Impl->OwnerAlive = form.Window().AliveToken();
    Impl->Box = this;
    Impl->Window =
        CreateWindowExW(0, ClassName, nullptr, WS_CHILD | WS_VISIBLE | WS_CLIPSIBLINGS, 0, 0, 0, 0,
                        form.Window().Handle(), nullptr, instance, Impl.get());
}

PaintBox::~PaintBox() {
    // The window goes with the box: no paint may reach a box that has gone.
    if (!Impl->OwnerAlive.expired()) {
        DetachContextMenu(*Impl->Owner, Impl->Window);
    }
    DestroyWindow(Impl->Window);
}

Rect PaintBox::Bounds() const {
    return BoundsInParent(Impl->Window);
}

void PaintBox::SetBounds(const Rect& bounds) {
    SetBoundsInParent(Impl->Window, bounds);
}

void PaintBox::Repaint() {
    RedrawWindow(Impl->Window, nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW);
}

void PaintBox::SetContextMenu(Menu& menu) {
    AttachContextMenu(*Impl->Owner, Impl->Window, menu);
}

} // namespace kadromir::ui
