// The paint box on Qt: an opaque child widget painted by its handler through QPainter.
#include "ui/paint_box.h"

#include "form_window.h"
#include "native.h"
#include "ui/menu.h"

#include <QMouseEvent>
#include <QPainter>
#include <QPointer>
#include <QWheelEvent>

namespace kadromir::ui {
namespace {

class QtCanvas final : public Canvas {
  public:
    explicit QtCanvas(QPainter& painter) : Painter(painter) {}
    void StretchDraw(const Image& image, const Rect& target) override {
        if (image.Empty() || target.Width <= 0 || target.Height <= 0) {
            return;
        }
        // The pixels as they are, no copy: the image outlives the paint.
        const QImage view(reinterpret_cast<const uchar*>(image.Pixels.data()), image.Width,
                          image.Height, image.Width * 4, QImage::Format_RGB32);
        Painter.setRenderHint(QPainter::SmoothPixmapTransform, false);
        Painter.setCompositionMode(QPainter::CompositionMode_Source);
        Painter.drawImage(QRect(target.Left, target.Top, target.Width, target.Height), view);
    }

    void FillRect(const Rect& target, std::uint32_t colour) override {
        Painter.fillRect(QRect(target.Left, target.Top, target.Width, target.Height),
                         QColor::fromRgb(colour));
    }
    void DrawCaption(const Rect& box, const std::string& text, std::uint32_t colour) override {
        const QRect area(box.Left, box.Top, box.Width, box.Height);
        const QString shown = Painter.fontMetrics().elidedText(QString::fromStdString(text),
                                                               Qt::ElideRight, area.width());
        Painter.setPen(QColor::fromRgb(colour));
        Painter.setCompositionMode(QPainter::CompositionMode_SourceOver);
        Painter.drawText(area, Qt::AlignCenter | Qt::TextSingleLine, shown);
    }

  private:
    QPainter& Painter;
};

class PaintWidget final : public QWidget {
  public:
    PaintWidget(QWidget& parent, PaintBox& box) : QWidget(&parent), Box(box) {
        // Every paint covers the whole box, so Qt need not clear it first.
        setAttribute(Qt::WA_OpaquePaintEvent);
        setAttribute(Qt::WA_NoSystemBackground);
    }

  protected:
    void paintEvent(QPaintEvent*) override {
        if (Box.OnPaint) {
            QPainter painter(this);
            QtCanvas canvas(painter);
            Box.OnPaint(canvas);
        }
    }
    void mousePressEvent(QMouseEvent* event) override {
        if (event->button() == Qt::LeftButton && Box.OnClick) {
            Box.OnClick({event->position().toPoint().x(), event->position().toPoint().y()});
        }
        QWidget::mousePressEvent(event);
    }
    void mouseDoubleClickEvent(QMouseEvent* event) override {
        if (event->button() == Qt::LeftButton && Box.OnDoubleClick) {
            Box.OnDoubleClick({event->position().toPoint().x(), event->position().toPoint().y()});
        }
    }
    void wheelEvent(QWheelEvent* event) override {
        // Notches of 120, as the wheel's angle gives them; a touch pad's fractions add up.
        WheelAngle += event->angleDelta().y();
        const int notches = WheelAngle / 120;
        WheelAngle -= notches * 120;
        if (notches != 0 && Box.OnWheel) {
            Box.OnWheel(notches);
        }
        event->accept();
    }
    void resizeEvent(QResizeEvent* event) override {
        QWidget::resizeEvent(event);
        if (Box.OnResize) {
            Box.OnResize();
        }
    }

  private:
    PaintBox& Box;
    int WheelAngle = 0;
};

} // namespace

struct PaintBox::Native {
    QPointer<QWidget> Widget;
};

PaintBox::PaintBox(Form& form) : Impl(std::make_unique<Native>()) {
    Impl->Widget = new PaintWidget(form.Window().Client(), *this);
}

PaintBox::~PaintBox() {
    // The widget goes with the box: no paint may reach a box that has gone.
    delete Impl->Widget.data();
}

Rect PaintBox::Bounds() const {
    const QRect bounds = Impl->Widget ? Impl->Widget->geometry() : QRect();
    return {bounds.x(), bounds.y(), bounds.width(), bounds.height()};
}

void PaintBox::SetBounds(const Rect& bounds) {
    if (Impl->Widget) {
        Impl->Widget->setGeometry(bounds.Left, bounds.Top, bounds.Width, bounds.Height);
    }
}

void PaintBox::Repaint() {
    if (Impl->Widget) {
        Impl->Widget->repaint();
    }
}

void PaintBox::SetContextMenu(Menu& menu) {
    AttachContextMenu(*Impl->Widget, menu);
}

QWidget& PaintBoxWidget(const PaintBox& box) {
    return *box.Parts().Widget;
}

} // namespace kadromir::ui
