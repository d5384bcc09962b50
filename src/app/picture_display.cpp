// Drawing the picture, the drawing area's layout rule, and the window-size commands.
#include "layout_rule.h"
#include "viewer_window.h"

#include "bitmap_image.h"
#include "ui/form.h"
#include "ui/paint_box.h"

#include <QPainter>

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
    Parts.DrawingArea->repaint();
}

void ViewerWindow::PaintDrawingArea(QPainter& painter) {
    // After the close the bitmap is gone: a late paint draws nothing.
    if (IsClosed || !PictureData) {
        return;
    }
    ui::StretchDraw(painter, Image, Parts.DrawingArea->rect());
}

void ViewerWindow::LayoutDrawingArea() {
    if (Parts.DrawingArea == nullptr) {
        return;
    }
    const int w = Parts.Form->ClientWidth();
    const int h = Parts.Form->ClientHeight();
    // Each bound is set on its own: the window system may refuse a
    // negative size, and the left edge follows from the width the area then has.
    Parts.DrawingArea->setGeometry(Parts.DrawingArea->x(), DrawingAreaTop(h), DrawingAreaWidth(w),
                                   std::max(0, DrawingAreaHeight(h)));
    Parts.DrawingArea->move(DrawingAreaLeft(w, Parts.DrawingArea->width()), Parts.DrawingArea->y());
    Parts.Form->SetStatusText(
        StatusLineText(Parts.DrawingArea->width(), Parts.DrawingArea->height()));
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
