#pragma once

#include "ui/form.h"
#include "window_frame.h"

#include <QElapsedTimer>
#include <QWidget>

#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

class QMenuBar;
class QMimeData;
class QTimer;
class QStatusBar;

namespace kadromir::ui {

// The Qt window behind a Form: a top-level widget that holds the menu bar, the client
// area and the status line, keeps the outer bounds as asked (the frame as the window
// system records it), and calls the form's event slots. It owns its Form, which goes
// with it when the window closes.
class FormWindow : public QWidget {
  public:
    explicit FormWindow(const std::string& caption);
    ~FormWindow() override;

    Form& Face() const { return *FaceForm; }

    // Handlers run whenever the event loop is about to wait (the program is idle).
    void AddIdleHandler(const void* key, std::function<void()> handler);
    void RemoveIdleHandler(const void* key);

    // The client area: below the menu bar, above the status line.
    QWidget& Client() const { return *ClientArea; }
    void SetMenuBar(QMenuBar& bar);

    void SetCaption(const std::string& caption);
    std::string Caption() const;

    // The form's geometry, as Form describes each call.
    int OuterLeft() const;
    int OuterTop() const;
    int OuterWidth() const;
    int OuterHeight() const;
    void SetOuterLeft(int left);
    void SetOuterTop(int top);
    void SetOuterWidth(int width);
    void SetOuterHeight(int height);
    void MoveOuter(int left, int top);
    bool PlacesWindows() const;
    void SetOuterBounds(int left, int top, int width, int height);
    void InNormalState(std::function<void()> change);
    int ClientWidth() const;
    int ClientHeight() const;
    void SetClientSize(int width, int height);

    // Centres the window on the display that holds the mouse pointer (the primary
    // display where that is unknown).
    void CentreOnPointerDisplay();
    // The full bounds of the primary display, its place on the desktop included.
    static QRect PrimaryScreen();

    // The colour of the client area where no control covers it, an opaque 0xFFRRGGBB.
    void SetBackgroundColour(std::uint32_t colour);
    std::uint32_t BackgroundColour() const { return Background; }

    // The single-part status line; created with the first text, keeping the client
    // height, so the window grows by the line's height.
    void SetStatusText(const std::string& text);
    std::string StatusText() const;
    bool HasStatusLine() const { return StatusLine != nullptr; }

  protected:
    bool event(QEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void moveEvent(QMoveEvent* event) override;
    void showEvent(QShowEvent* event) override;
    void closeEvent(QCloseEvent* event) override;
    void changeEvent(QEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void dragEnterEvent(QDragEnterEvent* event) override;
    void dropEvent(QDropEvent* event) override;

  private:
    int MenuHeight() const;
    int StatusHeight() const;
    void LayOutChildren();
    QMargins FrameMargins() const;
    QSize FrameExtra() const;
    QPoint FrameOffset() const;
    QRect LatestGeometry() const;
    void Request(const QRect& client);
    void CheckFrame();
    void ApplyOuterIntent(bool framed);

    std::unique_ptr<Form> FaceForm;
    std::vector<std::pair<const void*, std::function<void()>>> IdleHandlers;
    QMetaObject::Connection IdleConnection;
    QWidget* ClientArea = nullptr;
    QMenuBar* MenuBar = nullptr;
    QStatusBar* StatusLine = nullptr;
    std::uint32_t Background = 0;
    std::optional<QRect> Requested;

    // Outer bounds asked for before the frame was known.
    struct OuterIntent {
        std::optional<int> Left, Top, Width, Height;
    };
    OuterIntent Intent;
    // Whether the frame is still unknown, so that outer bounds wait as intents.
    bool AwaitingFrame() const;
    mutable bool FrameUnknown = true;
    mutable bool PredictionPending = false;
    QElapsedTimer PredictionAge;
    QTimer* FramePoll = nullptr;
    FrameRecord RecordedFrame;
    // The frame last seen while the window was mapped, or foretold before it was: a
    // window manager may clear its record while the window is hidden.
    mutable std::optional<QMargins> KnownFrame;
    // A change waiting for the window system to restore the window from maximized.
    std::function<void()> AfterRestore;
    void RunAfterRestore();
    QElapsedTimer FrameWait;
    QMargins LastMargins;
    const bool CanPlace;
    // A manager that keeps no frame record yet reparents the window (weston's for X11
    // programs) places the frame where the window was asked to be and the window
    // inside it: how far inside is read once, when it first shows, and read positions
    // count it, so that a stored position comes back as it was stored.
    QPoint UnrecordedOffset;
    bool PlacementWatched = false;
    void WatchPlacement();
    // Where the window system places windows itself: the outer position last asked for.
    QPoint HeldPosition;
};

// The local files of a drop, each a full path, joined by character 13.
std::string JoinDroppedFiles(const QMimeData& data);

} // namespace kadromir::ui
