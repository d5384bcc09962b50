#pragma once

#include "ui/geometry.h"

#include <cstdint>
#include <functional>

namespace kadromir {

namespace ui {
class Dialog;
class EditField;
class UpDown;
struct KeyEvent;
} // namespace ui

// The options of a spin field: whether a step past a bound wraps to the other, whether
// the buddy shows the number, whether the arrows sit at the buddy's right edge, and
// whether Up and Down in the buddy step.
struct SpinOptions {
    bool Wrap = false;
    bool SetBuddyInt = false;
    bool AlignRight = false;
    bool ArrowKeys = false;
};

// An up/down arrow pair driving the decimal number in a buddy edit field: steps of 1
// between Min and Max (no wrap unless asked), the Up and Down keys in the buddy, the
// arrows at the buddy's right edge. The spin field belongs to its dialog and goes with
// it; the buddy belongs to the dialog, not to the spin field.
class SpinEdit {
  public:
    // A new spin field with Max 100 and Min 0 and no buddy.
    static SpinEdit& CreateSpinEdit(ui::Dialog& owner, const SpinOptions& options);
    ~SpinEdit();
    SpinEdit(const SpinEdit&) = delete;
    SpinEdit& operator=(const SpinEdit&) = delete;

    // Records the buddy; with a field (not none) the arrows attach to it.
    void SetBuddy(ui::EditField* buddy);
    ui::EditField* Buddy() const { return BuddyField; }
    void SetMax(std::int16_t max) { Max = max; }
    void SetMin(std::int16_t min) { Min = min; }
    std::int16_t MaxValue() const { return Max; }
    std::int16_t MinValue() const { return Min; }
    SpinEdit& PlaceAt(int left, int top);
    SpinEdit& SizeTo(int width, int height);
    // The arrows' bounds in the dialog.
    ui::Rect Bounds() const;
    const ui::UpDown& Arrows() const { return ArrowPair; }

    // One step up (+1) or down (-1), as an arrow click or the key does.
    void Step(int direction);

  private:
    SpinEdit(ui::Dialog& owner, const SpinOptions& options);
    void ReleaseBuddy();

    SpinOptions Options;
    ui::UpDown& ArrowPair;
    ui::EditField* BuddyField = nullptr;
    // The buddy's own key handler, which the arrow keys go before.
    std::function<bool(const ui::KeyEvent&)> BuddyKeys;
    std::int16_t Max = 100;
    std::int16_t Min = 0;
};

} // namespace kadromir
