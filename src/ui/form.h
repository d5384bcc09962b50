#pragma once

#include "geometry.h"
#include "keys.h"

#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <vector>

namespace kadromir::ui {

// The system commands a form reports: minimize, maximize and restore.
enum class SystemCommand { Minimize, Maximize, Restore };

// The platform's window behind a form; each implementation of the layer defines it.
class FormWindow;

// A top-level window: a menu bar at the top, the client area below it, and a status
// line at the bottom once the first status text is set. Objects made for the window
// are added to its free-list with Own() and destroyed with it, before its controls.
// A form lives until it is closed: then it goes with everything made for it.
class Form {
  public:
    // A new form, not shown yet; the first one made is the program's main window.
    static Form& Create(const std::string& caption);
    ~Form();
    Form(const Form&) = delete;
    Form& operator=(const Form&) = delete;

    // Adds an object to the free-list; it is destroyed with the form (before its
    // controls). Returns the object.
    template <typename T> T& Own(std::unique_ptr<T> object) {
        T& kept = *object;
        FreeList.push_back(std::shared_ptr<void>(std::move(object)));
        return kept;
    }

    void SetCaption(const std::string& caption);
    std::string Caption() const;
    // The program's own icon on the window's title bar and task bar entry.
    void SetProgramIcon();

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
    // Places the client part (below any frame) at (left, top) of the desktop.
    void MoveClient(int left, int top);

    // Centres the window on the display that holds the mouse pointer (the primary
    // display where that is unknown).
    void CentreOnPointerDisplay();
    // The full bounds of the primary display, its place on the desktop included.
    static Rect PrimaryScreen();

    // The colour of the client area where no control covers it, an opaque 0xFFRRGGBB.
    void SetBackgroundColour(std::uint32_t colour);
    std::uint32_t BackgroundColour() const;

    // The single-part status line; created with the first text, keeping the client
    // height, so the window grows by the line's height.
    void SetStatusText(const std::string& text);
    std::string StatusText() const;
    bool HasStatusLine() const;

    void Show();
    bool Visible() const;
    // Whether the window is the one the user works in now.
    bool IsActiveWindow() const;
    // Asks the window to close, as the user's close does.
    void Close();
    // Enables or disables the window for the user's input (a modal dialog disables it).
    void SetEnabled(bool enabled);
    // Brings the window to the front and gives it the keyboard.
    void Activate();

    // Handlers run when the program goes idle (its queue of events is empty), until
    // removed by their key.
    void AddIdleHandler(const void* key, std::function<void()> handler);
    void RemoveIdleHandler(const void* key);

    // Event slots. The close request is always accepted after OnCloseRequest.
    std::function<void()> OnCloseRequest;
    std::function<void(SystemCommand)> OnSystemCommand;
    std::function<void(const KeyEvent&)> OnKeyDown;
    // The text a key typed (UTF-8), after its OnKeyDown; none for keys that type nothing.
    std::function<void(const std::string&)> OnCharacter;
    // After every size change of the client area.
    std::function<void()> OnClientResize;
    // The local files of a drop, joined by character 13.
    std::function<void(const std::string&)> OnFilesDropped;

    // The platform's window, for the implementation of the layer (and its tests).
    FormWindow& Window() const { return *Native; }

  private:
    friend class FormWindow;
    explicit Form(FormWindow& window) : Native(&window) {}
    // The free-list goes first, while every control is still there.
    void ReleaseOwned();

    FormWindow* Native;
    std::vector<std::shared_ptr<void>> FreeList;
};

} // namespace kadromir::ui
