#pragma once

#include <QWidget>

#include <functional>

class QImage;
class QPainter;

namespace kadromir::ui {

// A child window without text whose content only its paint handler draws.
class PaintBox : public QWidget {
  public:
    explicit PaintBox(QWidget& parent);

    std::function<void(QPainter&)> OnPaint;
    std::function<void()> OnResize;

  protected:
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
};

// Draws `image` stretched or shrunk over `target`, each direction on its own, by
// pixel replication and dropping (nearest neighbour), with no smoothing.
void StretchDraw(QPainter& painter, const QImage& image, const QRect& target);

} // namespace kadromir::ui
