#pragma once

#include "geometry.h"

#include <functional>
#include <memory>

namespace kadromir::ui {

class Form;
class Menu;

// Where a paint handler draws.
class Canvas {
  public:
    // Draws `image` stretched or shrunk over `target`, each direction on its own, by
    // pixel replication and dropping (nearest neighbour), with no smoothing. An empty
    // image or target draws nothing.
    virtual void StretchDraw(const Image& image, const Rect& target) = 0;

  protected:
    ~Canvas() = default;
};

// A child window of a form's client area without text, whose content only its paint
// handler draws.
class PaintBox {
  public:
    explicit PaintBox(Form& form);
    ~PaintBox();
    PaintBox(const PaintBox&) = delete;
    PaintBox& operator=(const PaintBox&) = delete;

    // Bounds within the client area.
    Rect Bounds() const;
    void SetBounds(const Rect& bounds);
    // Paints at once, before returning.
    void Repaint();
    // The pop-up menu shown where the user asks for a context menu on the box.
    void SetContextMenu(Menu& menu);

    std::function<void(Canvas&)> OnPaint;
    std::function<void()> OnResize;

    // The platform's window; each implementation of the layer defines it.
    struct Native;
    Native& Parts() const { return *Impl; }

  private:
    std::unique_ptr<Native> Impl;
};

} // namespace kadromir::ui
