#pragma once

#include <QMargins>
#include <QWidget>

#include <cstdint>
#include <optional>

namespace kadromir::ui {

// The frame the window manager has put around a top-level window, as the window
// system itself records it (on X11 the window's _NET_FRAME_EXTENTS). Qt keeps its own
// copy, taken when the window last changed, and can miss a frame that arrives later.
class FrameRecord {
  public:
    // Looks up the record's name once; nothing to look up off X11.
    FrameRecord();
    // Nothing when the window system keeps no such record or the frame is not there yet.
    std::optional<QMargins> Read(const QWidget& window) const;
    // Asks the window manager for the frame the window will get once shown (on X11
    // _NET_REQUEST_FRAME_EXTENTS), so that it can be placed where it ends up before it
    // is mapped; the answer comes as the record. False where no manager takes such
    // questions.
    bool RequestPrediction(QWidget& window) const;
    // Whether the window system is one that keeps such records (X11).
    bool Kept() const { return Atom != 0; }
    // Reads the record until it is there, for at most `timeoutMs`.
    std::optional<QMargins> WaitFor(const QWidget& window, int timeoutMs) const;
    // Whether, without a record, the window system's own parent of the window can be
    // taken for its frame. Not under a window manager that follows the desktop
    // conventions yet keeps no record (weston's for X11 programs): its parent holds
    // drawn shadows too, which are no frame.
    // Decided once such a manager runs (it may start after the program, as XWayland's
    // does); until then, true.
    bool ParentIsFrame() const;
    // Where the window's top-left corner is on the screen once a window manager has
    // put it into a parent of its own and it is on screen; nothing before that, or off
    // X11.
    std::optional<QPoint> FramedPosition(const QWidget& window) const;

  private:
    std::uint32_t Atom = 0;        // _NET_FRAME_EXTENTS, or none
    std::uint32_t RequestAtom = 0; // _NET_REQUEST_FRAME_EXTENTS where the manager supports it
    mutable std::optional<bool> ShadowsInParent;
};

} // namespace kadromir::ui
