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
    // Reads the record until it is there, for at most `timeoutMs`.
    std::optional<QMargins> WaitFor(const QWidget& window, int timeoutMs) const;

  private:
    std::uint32_t Atom = 0;        // _NET_FRAME_EXTENTS, or none
    std::uint32_t RequestAtom = 0; // _NET_REQUEST_FRAME_EXTENTS where the manager supports it
};

} // namespace kadromir::ui
