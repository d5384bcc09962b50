#pragma once

#include "keys.h"
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

// The system commands a form reports: minimize, maximize and restore.
enum class SystemCommand { Minimize, Maximize, Restore };

// A top-level window: a menu bar at the top, the client area below it, and a status
// line at the bottom once the first status text is set. Objects made for the window
// are added to its free-list with Own() and destroyed with it.
class Form : public QWidget {
  public:
    explicit Form(const std::string& caption);
    ~Form() override;

    // Adds an object to the free-list; it is destroyed with the form (before its
    // widgets). Returns the object.
    template <typename T> T& Own(std::unique_ptr<T> object) {
        T& kept = *object;
        FreeList.push_back(std::shared_ptr<void>(std::move(object)));
        return kept;
    }

    // The client area: below the menu bar, above the status line.
    QWidget& Client() const { return *ClientArea; }
    void SetMenuBar(QMenuBar& bar);

    void SetCaption(const std::string& caption);
    std::string Caption() const;

    // Outer bounds include the frame the window system adds (none before the window
    // is managed). Setting one keeps the others.
    int OuterLeft() const;
    int OuterTop() const;
    int OuterWidth() const;
    int OuterHeight() const;
    void SetOuterLeft(int left);
    void SetOuterTop(int top);
    void SetOuterWidth(int width);
    void SetOuterHeight(int height);
    // Moves the window so that its outer top-left corner lands at (left, top).
    void MoveOuter(int left, int top);
    // Whether the window system lets the program move the window now. A Wayland
    // compositor places windows itself: a position asked for there is kept and read
    // back as it was asked, and nothing moves. A manager that keeps no frame record
    // takes a position only before the window first shows, and says nothing when it
    // refuses a move later: the window then stays where it is, and its position is
    // read from the window system.
    bool PlacesWindows() const;
    // Moves and sizes the window in one request, in place: the window never shows a
    // step between, and it is never hidden for the change.
    void SetOuterBounds(int left, int top, int width, int height);
    // Runs `change` on the window in its normal state: a maximized or full-screen window
    // is restored first, and the change runs once the window system has restored it
    // (its bounds are then the normal ones to start from).
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

    // Event slots. The close request is always accepted after OnCloseRequest.
    std::function<void()> OnCloseRequest;
    std::function<void(SystemCommand)> OnSystemCommand;
    std::function<void(const KeyEvent&)> OnKeyDown;
    // After every size change of the client area.
    std::function<void()> OnClientResize;
    // The local files of a drop, joined by character 13.
    std::function<void(const std::string&)> OnFilesDropped;

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

    std::vector<std::shared_ptr<void>> FreeList;
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
