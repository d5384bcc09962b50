// Drawing the picture, the drawing area's layout rule, and the window-size commands.
#include "layout_rule.h"
#include "viewer_window.h"

#include "bitmap_image.h"
#include "folder_overview.h"
#include "ui/form.h"
#include "ui/paint_box.h"
#include "ui/toolbar.h"

#include <algorithm>

namespace kadromir {

void ViewerWindow::RenderPictureImage() {
    if (PictureData) {
        RenderFrameBitmap(PictureData->Bitmap, Image);
    }
}

void ViewerWindow::DrawPicture() {
    if (IsClosed || !PictureData) {
        return;
    }
    RenderPictureImage();
    const std::uint32_t border = ColourCodeTable::BackgroundForm[PictureData->BorderColour];
    if (Parts.Form->BackgroundColour() != border) {
        Parts.Form->SetBackgroundColour(border);
    }
    Parts.DrawingArea->Repaint();
}

void ViewerWindow::PaintDrawingArea(ui::Canvas& canvas) {
    // After the close the bitmap is gone: a late paint draws nothing.
    if (IsClosed || !PictureData) {
        return;
    }
    if (OverviewShown()) {
        FolderView->Paint(canvas);
        return;
    }
    const ui::Rect area = Parts.DrawingArea->Bounds();
    canvas.StretchDraw(Image, {0, 0, area.Width, area.Height});
}

void ViewerWindow::LayoutDrawingArea() {
    if (Parts.DrawingArea == nullptr) {
        return;
    }
    const int w = Parts.Form->ClientWidth();
    const int h = Parts.Form->ClientHeight();
    // Each bound is set on its own: the window system may refuse a
    // negative size, and the left edge follows from the width the area then has.
    ui::PaintBox& area = *Parts.DrawingArea;
    if (OverviewPlaced) {
        // The overview takes the whole client area below the toolbar; the status line
        // still tells the picture's size.
        const int top = Parts.Toolbar->Height();
        area.SetBounds({0, top, std::max(0, w), std::max(0, h - top)});
        Parts.Form->SetStatusText(
            StatusLineText(std::max(0, DrawingAreaWidth(w)), std::max(0, DrawingAreaHeight(h))));
        FolderView->Resized();
        return;
    }
    area.SetBounds({area.Bounds().Left, DrawingAreaTop(h), DrawingAreaWidth(w),
                    std::max(0, DrawingAreaHeight(h))});
    const ui::Rect sized = area.Bounds();
    area.SetBounds({DrawingAreaLeft(w, sized.Width), sized.Top, sized.Width, sized.Height});
    const ui::Rect placed = area.Bounds();
    Parts.Form->SetStatusText(StatusLineText(placed.Width, placed.Height));
}

// A maximized window is restored before any of the three commands sizes or moves it.
// Each then asks for its new bounds at once, in place: no step shows, and the window
// is never hidden and shown again (which some window managers answer late or not at
// all, and a compositor answers with a window placed anew).
void ViewerWindow::ScreenX1() {
    Parts.Form->InNormalState([this] { PlaceCentred(ScreenX1Size.Width, ScreenX1Size.Height); });
}

void ViewerWindow::ScreenX2() {
    Parts.Form->InNormalState([this] { PlaceCentred(ScreenX2Size.Width, ScreenX2Size.Height); });
}

void ViewerWindow::CentreWindow() {
    Parts.Form->InNormalState([this] { PlaceCentred(OuterWidth(), OuterHeight()); });
}

// Where the window system places windows itself, the size changes and the position
// kept stays as it was: a centred one nobody saw must not reach the stored settings.
void ViewerWindow::PlaceCentred(int outerWidth, int outerHeight) {
    const Position at = Parts.Form->PlacesWindows()
                            ? CentredPosition(PrimaryScreen(), outerWidth, outerHeight)
                            : Position{OuterLeft(), OuterTop()};
    Parts.Form->SetOuterBounds(at.Left, at.Top, outerWidth, outerHeight);
}

} // namespace kadromir
