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

  private:
    std::uint32_t Atom = 0; // none
};

} // namespace kadromir::ui
