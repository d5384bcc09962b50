#include "form_window.h"

#include "keys_qt.h"
#include "resize_watcher.h"

#include "base/screen_geometry.h"

#include <algorithm>

#include <QAbstractEventDispatcher>
#include <QCloseEvent>
#include <QCursor>
#include <QDropEvent>
#include <QElapsedTimer>
#include <QGuiApplication>
#include <QMenuBar>
#include <QMimeData>
#include <QScreen>
#include <QStatusBar>
#include <QTimer>
#include <QUrl>
#include <QWindow>
#include <QWindowStateChangeEvent>

namespace kadromir::ui {
namespace {

// X11 takes coordinates and sizes of 16 bits; a stored value beyond them, or a sum
// with the frame beyond an int, must not reach the window system.
constexpr int MinCoordinate = -32768;
constexpr int MaxCoordinate = 32767;
constexpr int MaxSize = 32767;

int Coordinate(int value) {
    return std::clamp(value, MinCoordinate, MaxCoordinate);
}
int Size(int value) {
    return std::clamp(value, 0, MaxSize);
}

} // namespace

FormWindow::FormWindow(const std::string& caption)
    : FaceForm(new Form(*this)),
      CanPlace(!QGuiApplication::platformName().startsWith(QLatin1String("wayland"))) {
    setAttribute(Qt::WA_DeleteOnClose);
    setAcceptDrops(true);
    setFocusPolicy(Qt::StrongFocus);
    SetCaption(caption);
    ClientArea = new QWidget(this);
    ClientArea->setAutoFillBackground(true);
    new ResizeWatcher(*ClientArea, [this] {
        if (FaceForm->OnClientResize) {
            FaceForm->OnClientResize();
        }
    });
    SetBackgroundColour(0xFF000000);
    // Where the window manager can tell the frame before the window is shown, the
    // window is placed from the start where it ends up: no move once it shows. The
    // answer is collected when the frame is first needed.
    PredictionPending = RecordedFrame.RequestPrediction(*this);
    PredictionAge.start();
    if (!RecordedFrame.ParentIsFrame()) {
        FrameUnknown = false; // no frame can be known: none is counted
    }
}

bool FormWindow::AwaitingFrame() const {
    if (PredictionPending) {
        PredictionPending = false;
        // Usually answered long before; a manager that never answers costs this once.
        constexpr int PatienceMs = 100;
        const int left = std::max(0, PatienceMs - static_cast<int>(PredictionAge.elapsed()));
        if (const std::optional<QMargins> frame = RecordedFrame.WaitFor(*this, left)) {
            KnownFrame = *frame;
            FrameUnknown = false;
        }
    }
    return FrameUnknown;
}

FormWindow::~FormWindow() {
    QObject::disconnect(IdleConnection);
    // Free-list objects may refer to child widgets; they go first.
    FaceForm->ReleaseOwned();
}

void FormWindow::AddIdleHandler(const void* key, std::function<void()> handler) {
    IdleHandlers.emplace_back(key, std::move(handler));
    if (!IdleConnection) {
        if (auto* dispatcher = QAbstractEventDispatcher::instance()) {
            IdleConnection =
                connect(dispatcher, &QAbstractEventDispatcher::aboutToBlock, this, [this] {
                    // A handler may remove itself: run a copy.
                    const auto handlers = IdleHandlers;
                    for (const auto& [key, run] : handlers) {
                        run();
                    }
                });
        }
    }
}

void FormWindow::RemoveIdleHandler(const void* key) {
    std::erase_if(IdleHandlers, [key](const auto& entry) { return entry.first == key; });
}

void FormWindow::SetMenuBar(QMenuBar& bar) {
    // Like the status line, the menu bar keeps the client size: the window grows.
    const int clientHeight = ClientHeight();
    MenuBar = &bar;
    bar.setParent(this);
    QRect client = LatestGeometry();
    client.setHeight(MenuHeight() + clientHeight + StatusHeight());
    Request(client);
}

void FormWindow::SetCaption(const std::string& caption) {
    setWindowTitle(QString::fromStdString(caption));
}

std::string FormWindow::Caption() const {
    return windowTitle().toStdString();
}

// The window system's own record of the frame comes first: Qt's copy can be stale.
// Where there is none, Qt's is taken, but while the window manager reparents a window
// that can be the half-built frame (a 1 × 1 parent gives negative margins), which
// counts as none.
QMargins FormWindow::FrameMargins() const {
    if (!CanPlace) {
        // Drawn by Qt itself: its own count is exact, and current before QWidget's copy.
        return windowHandle() ? windowHandle()->frameMargins() : QMargins();
    }
    const std::optional<QMargins> recorded = RecordedFrame.Read(*this);
    // Hidden, or just shown and not yet framed again, a window may read no frame for a
    // moment: the one seen last stands.
    if (KnownFrame && (!isVisible() || !recorded || recorded->isNull())) {
        return *KnownFrame;
    }
    if (recorded) {
        if (!recorded->isNull()) {
            KnownFrame = *recorded;
        }
        return *recorded;
    }
    if (!RecordedFrame.ParentIsFrame()) {
        return QMargins();
    }
    const QRect outer = frameGeometry();
    const QRect inner = geometry();
    const QMargins margins(inner.left() - outer.left(), inner.top() - outer.top(),
                           outer.right() - inner.right(), outer.bottom() - inner.bottom());
    const bool plausible =
        margins.left() >= 0 && margins.top() >= 0 && margins.right() >= 0 && margins.bottom() >= 0;
    return plausible ? margins : QMargins();
}

QSize FormWindow::FrameExtra() const {
    const QMargins margins = FrameMargins();
    return QSize(margins.left() + margins.right(), margins.top() + margins.bottom());
}

QPoint FormWindow::FrameOffset() const {
    const QMargins margins = FrameMargins();
    return QPoint(margins.left(), margins.top());
}

// A visible window's geometry changes only when the window system confirms it, so
// one change right after another would start from stale values; each change starts
// from the last one asked for until the window system has caught up.
QRect FormWindow::LatestGeometry() const {
    return Requested ? *Requested : geometry();
}

void FormWindow::Request(const QRect& asked) {
    // A window whose client area would be empty is never mapped: whatever is asked,
    // at least one pixel of the client area stays.
    QRect client(asked.topLeft(),
                 QSize(std::max(1, asked.width()),
                       std::max(MenuHeight() + StatusHeight() + 1, asked.height())));
    Requested = client;
    setGeometry(client);
    if (geometry() == client) {
        Requested.reset(); // taken at once (a hidden window)
    } else {
        // Should the window system settle on something else, stop waiting for it.
        QTimer::singleShot(1000, this, [this, client] {
            if (Requested == client) {
                Requested.reset();
            }
        });
    }
    LayOutChildren();
}

void FormWindow::moveEvent(QMoveEvent* event) {
    QWidget::moveEvent(event);
    if (Requested && geometry() == *Requested) {
        Requested.reset();
    }
}

// Before the window system has framed the window (it frames it only once shown), the
// frame's size is unknown: outer bounds asked for until then are kept as they were
// asked, and applied with the real frame as soon as it is known.
void FormWindow::showEvent(QShowEvent* event) {
    QWidget::showEvent(event);
    if (RecordedFrame.Kept() && !event->spontaneous() && !PlacementWatched) {
        PlacementWatched = true;
        WatchPlacement();
    }
    if (!AwaitingFrame() || FramePoll != nullptr) {
        return;
    }
    FramePoll = new QTimer(this);
    FramePoll->setInterval(20);
    FrameWait.start();
    LastMargins = QMargins();
    connect(FramePoll, &QTimer::timeout, this, [this] { CheckFrame(); });
    FramePoll->start();
}

// A frame the program draws itself (Qt's title bar on Wayland) is known once the
// window has been handed to the window system, before the first picture of it goes
// out: sized right then, the window never shows a step.
bool FormWindow::event(QEvent* event) {
    const bool handled = QWidget::event(event);
    if (event->type() == QEvent::ShowToParent && !CanPlace) {
        CheckFrame();
    }
    return handled;
}

// A manager that keeps no frame record says nothing of where it put the window: it
// is asked of the window system once the window is in its frame. (Whether the manager
// keeps one is known for sure only then.)
void FormWindow::WatchPlacement() {
    const QPoint asked = LatestGeometry().topLeft();
    auto* poll = new QTimer(this);
    poll->setInterval(20);
    auto waited = std::make_shared<QElapsedTimer>();
    waited->start();
    auto last = std::make_shared<std::optional<QPoint>>();
    connect(poll, &QTimer::timeout, this, [this, poll, asked, waited, last] {
        // The same place on two polls in a row, inside a frame at the place asked for:
        // weston shows the frame elsewhere for a moment before it moves it there. Only
        // what a frame's border and title can take counts as inside.
        constexpr int MostInside = 64;
        const std::optional<QPoint> at = RecordedFrame.FramedPosition(*this);
        if (at && RecordedFrame.ParentIsFrame()) {
            poll->stop(); // a manager whose frame is known: nothing to learn
            poll->deleteLater();
            return;
        }
        const bool settled = at && at == *last;
        *last = at;
        const QPoint inside = settled ? *at - asked : QPoint(-1, -1);
        const bool framed = inside.x() >= 0 && inside.y() >= 0 && inside.x() <= MostInside &&
                            inside.y() <= MostInside;
        if (!framed && waited->elapsed() < 3000) {
            return;
        }
        poll->stop();
        poll->deleteLater();
        if (framed) {
            UnrecordedOffset = inside;
        }
    });
    poll->start();
}

void FormWindow::CheckFrame() {
    if (FramePoll == nullptr) {
        return;
    }
    // A window manager's frame counts as known once the same one is seen on two polls
    // in a row: while it frames the window, a half-built frame can show for a moment.
    const QMargins margins = FrameMargins();
    const bool framed = !margins.isNull() && (margins == LastMargins || !CanPlace);
    LastMargins = margins;
    if (framed || FrameWait.elapsed() > 2000) {
        FramePoll->stop();
        FramePoll->deleteLater();
        FramePoll = nullptr;
        ApplyOuterIntent(framed);
    }
}

void FormWindow::ApplyOuterIntent(bool framed) {
    FrameUnknown = false;
    const OuterIntent intent = Intent;
    Intent = {};
    if (!framed) {
        return; // no frame: what was applied is already right
    }
    QRect client = LatestGeometry();
    const QSize extra = FrameExtra();
    if (intent.Width) {
        client.setWidth(std::max(0, *intent.Width - extra.width()));
    }
    if (intent.Height) {
        client.setHeight(std::max(0, *intent.Height - extra.height()));
    }
    const QPoint offset = FrameOffset();
    client.moveTo(intent.Left ? *intent.Left + offset.x() : client.left(),
                  intent.Top ? *intent.Top + offset.y() : client.top());
    Request(client);
}

bool FormWindow::PlacesWindows() const {
    return CanPlace && (RecordedFrame.ParentIsFrame() || !isVisible());
}

int FormWindow::OuterLeft() const {
    if (!CanPlace) {
        return HeldPosition.x();
    }
    return AwaitingFrame() && Intent.Left
               ? *Intent.Left
               : LatestGeometry().left() - FrameOffset().x() - UnrecordedOffset.x();
}
int FormWindow::OuterTop() const {
    if (!CanPlace) {
        return HeldPosition.y();
    }
    return AwaitingFrame() && Intent.Top
               ? *Intent.Top
               : LatestGeometry().top() - FrameOffset().y() - UnrecordedOffset.y();
}
int FormWindow::OuterWidth() const {
    return AwaitingFrame() && Intent.Width ? *Intent.Width
                                           : LatestGeometry().width() + FrameExtra().width();
}
int FormWindow::OuterHeight() const {
    return AwaitingFrame() && Intent.Height ? *Intent.Height
                                            : LatestGeometry().height() + FrameExtra().height();
}

void FormWindow::SetOuterLeft(int left) {
    MoveOuter(left, OuterTop());
}
void FormWindow::SetOuterTop(int top) {
    MoveOuter(OuterLeft(), top);
}

void FormWindow::MoveOuter(int left, int top) {
    left = Coordinate(left);
    top = Coordinate(top);
    if (!PlacesWindows()) {
        if (!CanPlace) {
            HeldPosition = QPoint(left, top);
        }
        return;
    }
    if (AwaitingFrame()) {
        Intent.Left = left;
        Intent.Top = top;
    }
    // The client part goes where the frame then lands at (left, top): window
    // managers honour a client position exactly, a frame position not always.
    Request(QRect(QPoint(left, top) + FrameOffset(), LatestGeometry().size()));
}

void FormWindow::SetOuterBounds(int left, int top, int width, int height) {
    left = Coordinate(left);
    top = Coordinate(top);
    width = Size(width);
    height = Size(height);
    if (AwaitingFrame()) {
        Intent.Width = width;
        Intent.Height = height;
        if (PlacesWindows()) {
            Intent.Left = left;
            Intent.Top = top;
        }
    }
    const QSize extra = FrameExtra();
    const QSize client(std::max(0, width - extra.width()), std::max(0, height - extra.height()));
    if (!PlacesWindows()) {
        if (!CanPlace) {
            HeldPosition = QPoint(left, top);
        }
        Request(QRect(LatestGeometry().topLeft(), client));
        return;
    }
    Request(QRect(QPoint(left, top) + FrameOffset(), client));
}

void FormWindow::InNormalState(std::function<void()> change) {
    constexpr auto Enlarged = Qt::WindowMaximized | Qt::WindowFullScreen;
    if (!(windowState() & Enlarged) || !isVisible()) {
        change();
        return;
    }
    AfterRestore = std::move(change);
    setWindowState(windowState() & ~Enlarged);
    // The restored bounds arrive as a resize; should none come, the change runs anyway.
    QTimer::singleShot(500, this, [this] { RunAfterRestore(); });
}

void FormWindow::RunAfterRestore() {
    if (AfterRestore) {
        const std::function<void()> change = std::move(AfterRestore);
        AfterRestore = nullptr;
        change();
    }
}

void FormWindow::SetOuterWidth(int width) {
    width = Size(width);
    if (AwaitingFrame()) {
        Intent.Width = width;
    }
    QRect client = LatestGeometry();
    client.setWidth(std::max(0, width - FrameExtra().width()));
    Request(client);
}

void FormWindow::SetOuterHeight(int height) {
    height = Size(height);
    if (AwaitingFrame()) {
        Intent.Height = height;
    }
    QRect client = LatestGeometry();
    client.setHeight(std::max(0, height - FrameExtra().height()));
    Request(client);
}

int FormWindow::MenuHeight() const {
    return MenuBar ? MenuBar->heightForWidth(width()) : 0;
}

int FormWindow::StatusHeight() const {
    return StatusLine ? StatusLine->sizeHint().height() : 0;
}

int FormWindow::ClientWidth() const {
    return LatestGeometry().width();
}

int FormWindow::ClientHeight() const {
    return std::max(0, LatestGeometry().height() - MenuHeight() - StatusHeight());
}

void FormWindow::SetClientSize(int width, int height) {
    const int menu = MenuBar ? MenuBar->heightForWidth(width) : 0;
    QRect client = LatestGeometry();
    client.setSize(QSize(width, height + menu + StatusHeight()));
    Request(client);
}

void FormWindow::CentreOnPointerDisplay() {
    QScreen* screen = QGuiApplication::screenAt(QCursor::pos());
    if (screen == nullptr) {
        screen = QGuiApplication::primaryScreen();
    }
    if (screen == nullptr) {
        return;
    }
    const QRect area = screen->geometry();
    const Position at = CentredPosition({area.left(), area.top(), area.width(), area.height()},
                                        OuterWidth(), OuterHeight());
    MoveOuter(at.Left, at.Top);
}

QRect FormWindow::PrimaryScreen() {
    const QScreen* screen = QGuiApplication::primaryScreen();
    return screen ? screen->geometry() : QRect();
}

void FormWindow::SetBackgroundColour(std::uint32_t colour) {
    Background = colour;
    QPalette palette = ClientArea->palette();
    palette.setColor(QPalette::Window, QColor::fromRgb(colour));
    ClientArea->setPalette(palette);
    ClientArea->update();
}

void FormWindow::SetStatusText(const std::string& text) {
    if (StatusLine == nullptr) {
        const int clientHeight = ClientHeight();
        StatusLine = new QStatusBar(this);
        StatusLine->setSizeGripEnabled(false);
        StatusLine->show();
        QRect client = LatestGeometry();
        client.setHeight(MenuHeight() + clientHeight + StatusHeight());
        Request(client);
    }
    StatusLine->showMessage(QString::fromStdString(text));
}

std::string FormWindow::StatusText() const {
    return StatusLine ? StatusLine->currentMessage().toStdString() : std::string();
}

void FormWindow::LayOutChildren() {
    const int menu = MenuHeight();
    const int status = StatusHeight();
    if (MenuBar) {
        MenuBar->setGeometry(0, 0, width(), menu);
    }
    ClientArea->setGeometry(0, menu, width(), std::max(0, height() - menu - status));
    if (StatusLine) {
        StatusLine->setGeometry(0, height() - status, width(), status);
    }
}

void FormWindow::resizeEvent(QResizeEvent* event) {
    QWidget::resizeEvent(event);
    if (Requested && geometry() == *Requested) {
        Requested.reset();
    }
    LayOutChildren();
    if (AfterRestore) {
        // Once the child layout has followed the restored size.
        QTimer::singleShot(0, this, [this] { RunAfterRestore(); });
    }
}

void FormWindow::closeEvent(QCloseEvent* event) {
    if (FaceForm->OnCloseRequest) {
        FaceForm->OnCloseRequest();
    }
    event->accept();
}

void FormWindow::changeEvent(QEvent* event) {
    QWidget::changeEvent(event);
    const auto& OnSystemCommand = FaceForm->OnSystemCommand;
    if (event->type() != QEvent::WindowStateChange || !OnSystemCommand) {
        return;
    }
    const auto old = static_cast<QWindowStateChangeEvent*>(event)->oldState();
    const auto now = windowState();
    if ((now & Qt::WindowMinimized) && !(old & Qt::WindowMinimized)) {
        OnSystemCommand(SystemCommand::Minimize);
    } else if (!(now & Qt::WindowMinimized) && (old & Qt::WindowMinimized)) {
        OnSystemCommand(SystemCommand::Restore);
    } else if ((now & Qt::WindowMaximized) && !(old & Qt::WindowMaximized)) {
        OnSystemCommand(SystemCommand::Maximize);
    } else if (!(now & Qt::WindowMaximized) && (old & Qt::WindowMaximized)) {
        OnSystemCommand(SystemCommand::Restore);
    }
}

void FormWindow::keyPressEvent(QKeyEvent* event) {
    if (FaceForm->OnKeyDown) {
        FaceForm->OnKeyDown(KeyEventOf(*event));
    }
    // What the key typed, where it typed something (no control character).
    const QString typed = event->text();
    if (FaceForm->OnCharacter && !typed.isEmpty() && typed.front() >= QChar(0x20) &&
        typed.front() != QChar(0x7F)) {
        FaceForm->OnCharacter(typed.toStdString());
    }
    // The key is not consumed: it goes on to the default handling.
    QWidget::keyPressEvent(event);
}

void FormWindow::dragEnterEvent(QDragEnterEvent* event) {
    if (event->mimeData()->hasUrls()) {
        event->acceptProposedAction();
    }
}

void FormWindow::dropEvent(QDropEvent* event) {
    const std::string joined = JoinDroppedFiles(*event->mimeData());
    event->acceptProposedAction();
    if (!joined.empty() && FaceForm->OnFilesDropped) {
        FaceForm->OnFilesDropped(joined);
    }
}

std::string JoinDroppedFiles(const QMimeData& data) {
    std::string joined;
    for (const QUrl& url : data.urls()) {
        if (!url.isLocalFile()) {
            continue;
        }
        if (!joined.empty()) {
            joined += '\r';
        }
        // Paths are bytes: the percent-encoded path keeps names that are not UTF-8.
        joined +=
            QByteArray::fromPercentEncoding(url.path(QUrl::FullyEncoded).toLatin1()).toStdString();
    }
    return joined;
}

} // namespace kadromir::ui
