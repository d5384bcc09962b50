// The paint box on Win32: a child window painted by its handler into an off-screen
// bitmap, which then goes to the screen at once (no flicker between the parts).
#include "ui/paint_box.h"

#include "context_menu.h"
#include "form_window.h"
#include "window_class.h"

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
    RegisterWindowClass(ClassName, &Native::Procedure, CS_HREDRAW | CS_VREDRAW);
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
