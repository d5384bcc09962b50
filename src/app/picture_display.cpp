// Drawing the picture, the drawing area's layout rule, and the window-size commands.
#include "layout_rule.h"
#include "viewer_window.h"

#include "ui/bitmap_image.h"
#include "ui/form.h"
#include "ui/paint_box.h"

#include <QPainter>

namespace kadromir {

void ViewerWindow::RenderPictureImage() {
    if (PictureData) {
        ui::RenderFrameBitmap(PictureData->Bitmap, Image);
    }
}

void ViewerWindow::DrawPicture() {
    if (IsClosed || !PictureData) {
        return;
    }
    RenderPictureImage();
    const std::uint32_t border = ColourCodeTable::BackgroundForm[PictureData->BorderColour];
    if (Form->BackgroundColour() != border) {
        Form->SetBackgroundColour(border);
    }
    DrawingArea->repaint();
}

void ViewerWindow::PaintDrawingArea(QPainter& painter) {
    // After the close the bitmap is gone: a late paint draws nothing.
    if (IsClosed || !PictureData) {
        return;
    }
    ui::StretchDraw(painter, Image, DrawingArea->rect());
}

void ViewerWindow::LayoutDrawingArea() {
    if (DrawingArea == nullptr) {
        return;
    }
    const int w = Form->ClientWidth();
    const int h = Form->ClientHeight();
    // Each bound is set on its own, as the rule reads; the window system may refuse a
    // negative size, and the left edge follows from the width the area then has.
    DrawingArea->setGeometry(DrawingArea->x(), DrawingAreaTop(h), DrawingAreaWidth(w),
                             std::max(0, DrawingAreaHeight(h)));
    DrawingArea->move(DrawingAreaLeft(w, DrawingArea->width()), DrawingArea->y());
    Form->SetStatusText(StatusLineText(DrawingArea->width(), DrawingArea->height()));
}

void ViewerWindow::ScreenX1() {
    Form->SetOuterWidth(ScreenX1Size.Width);
    Form->SetOuterHeight(ScreenX1Size.Height);
    CentreWindow();
}

void ViewerWindow::ScreenX2() {
    // Hidden for the time of the change, so the window does not show its steps.
    const bool wasVisible = Form->isVisible();
    Form->hide();
    Form->SetOuterWidth(ScreenX2Size.Width);
    Form->SetOuterHeight(ScreenX2Size.Height);
    CentreWindow();
    if (wasVisible) {
        Form->show();
    }
}

void ViewerWindow::CentreWindow() {
    const Position at = CentredPosition(ScreenWidth(), ScreenHeight(), OuterWidth(), OuterHeight());
    Form->SetOuterTop(at.Top);
    Form->SetOuterLeft(at.Left);
}

} // namespace kadromir
