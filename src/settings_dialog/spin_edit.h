#pragma once

#include <QWidget>

#include <cstdint>

class QLineEdit;
class QToolButton;

namespace kadromir {

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
// arrows at the buddy's right edge. The arrows are a child of their owner and go with
// it; the buddy belongs to the owner, not to the spin field.
class SpinEdit : public QWidget {
  public:
    // A new spin field with Max 100 and Min 0 and no buddy.
    static SpinEdit& CreateSpinEdit(QWidget& owner, const SpinOptions& options);

    // Records the buddy; with a field (not none) the arrows attach to it.
    void SetBuddy(QLineEdit* buddy);
    QLineEdit* Buddy() const { return BuddyField; }
    void SetMax(std::int16_t max) { Max = max; }
    void SetMin(std::int16_t min) { Min = min; }
    std::int16_t MaxValue() const { return Max; }
    std::int16_t MinValue() const { return Min; }
    SpinEdit& PlaceAt(int left, int top);
    SpinEdit& SizeTo(int width, int height);

    // One step up (+1) or down (-1), as an arrow click or the key does.
    void Step(int direction);

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;

  private:
    SpinEdit(QWidget& owner, const SpinOptions& options);

    SpinOptions Options;
    QLineEdit* BuddyField = nullptr;
    QToolButton* Up = nullptr;
    QToolButton* Down = nullptr;
    std::int16_t Max = 100;
    std::int16_t Min = 0;
};

} // namespace kadromir
