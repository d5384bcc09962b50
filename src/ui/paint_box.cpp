#include "paint_box.h"

#include <QPainter>

namespace kadromir::ui {

PaintBox::PaintBox(QWidget& parent) : QWidget(&parent) {
    // Every paint covers the whole box, so Qt need not clear it first.
    setAttribute(Qt::WA_OpaquePaintEvent);
    setAttribute(Qt::WA_NoSystemBackground);
}

void PaintBox::paintEvent(QPaintEvent*) {
    if (OnPaint) {
        QPainter painter(this);
        OnPaint(painter);
    }
}

void PaintBox::resizeEvent(QResizeEvent* event) {
    QWidget::resizeEvent(event);
    if (OnResize) {
        OnResize();
    }
}

void StretchDraw(QPainter& painter, const QImage& image, const QRect& target) {
    if (image.isNull() || target.isEmpty()) {
        return;
    }
    painter.setRenderHint(QPainter::SmoothPixmapTransform, false);
    painter.setCompositionMode(QPainter::CompositionMode_Source);
    painter.drawImage(target, image);
}

} // namespace kadromir::ui
