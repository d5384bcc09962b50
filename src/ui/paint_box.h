#pragma once

#include "geometry.h"

#include <cstdint>
#include <functional>
#include <memory>
#include <string>

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
    // Fills the rectangle with an opaque 0xFFRRGGBB colour.
    virtual void FillRect(const Rect& target, std::uint32_t colour) = 0;
    // One line of UTF-8 text (a name, a caption) centred in the box in the platform's own font and
    // an opaque 0xFFRRGGBB colour, on what is there; cut short with an ellipsis where it is wider
    // than the box.
    virtual void DrawCaption(const Rect& box, const std::string& text, std::uint32_t colour) = 0;

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
    // The left button pressed at a point of the box, and the second press of a double
    // click (after the first's OnClick).
    std::function<void(const Point&)> OnClick;
    std::function<void(const Point&)> OnDoubleClick;
    // The wheel turned over the box: notches away from the user positive.
    std::function<void(int notches)> OnWheel;

    // The platform's window; each implementation of the layer defines it.
    struct Native;
    Native& Parts() const { return *Impl; }

  private:
    std::unique_ptr<Native> Impl;
};

} // namespace kadromir::ui
