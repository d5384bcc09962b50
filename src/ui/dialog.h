#pragma once

#include "geometry.h"
#include "keys.h"

#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <vector>

namespace kadromir::ui {

class Form;

// A modal dialog of a form: a caption, a client area of fixed size on a background
// colour, and controls at fixed positions in it. It cannot be resized by the user, and
// has no minimize or maximize button.
class Dialog {
  public:
    Dialog(Form& owner, const std::string& caption, int clientWidth, int clientHeight);
    ~Dialog();
    Dialog(const Dialog&) = delete;
    Dialog& operator=(const Dialog&) = delete;

    Form& Owner() const { return OwnerForm; }

    // Adds an object to the dialog's free-list; it is destroyed with the dialog, before
    // the dialog's window. Returns the object.
    template <typename T> T& Own(std::unique_ptr<T> object) {
        T& kept = *object;
        FreeList.push_back(std::shared_ptr<void>(std::move(object)));
        return kept;
    }
    std::string Caption() const;
    // The client area's colour, an 0xRRGGBB; captions stay dark on it whatever the
    // desktop's colour scheme.
    void SetBackgroundColour(std::uint32_t rgb);
    // Centres the dialog, at its present size, on the display that holds the pointer.
    void CentreOnPointerDisplay();
    int ClientWidth() const;
    int ClientHeight() const;
    // Fixes the client size: the user cannot change it.
    void SetFixedClientSize(int width, int height);
    // The frame's share of the outer width; 0 until the window system has framed it.
    int FrameWidth() const;

    // Shows the dialog and waits until it closes, the owner disabled meanwhile (timer
    // ticks go on); the owner comes back to the front afterwards.
    void RunModal();
    void Show();
    bool Visible() const;
    void Close();

    // Once the dialog is on screen.
    std::function<void()> OnShown;

    struct Native;
    Native& Parts() const { return *Impl; }

  private:
    Form& OwnerForm;
    std::unique_ptr<Native> Impl;
    std::vector<std::shared_ptr<void>> FreeList;
};

// A control of a dialog: bounds in the dialog's client area and an enabled state. It
// takes no keyboard focus unless it says so.
class Control {
  public:
    virtual ~Control();
    Control(const Control&) = delete;
    Control& operator=(const Control&) = delete;

    Rect Bounds() const;
    void SetBounds(const Rect& bounds);
    bool Enabled() const;
    void SetEnabled(bool enabled);

    struct Native;
    Native& Parts() const { return *Impl; }

  protected:
    explicit Control(std::unique_ptr<Native> native);
    std::unique_ptr<Native> Impl;
};

// A check box at (left, top), sized to its caption.
class CheckBox : public Control {
  public:
    CheckBox(Dialog& dialog, const std::string& caption, int left, int top);
    std::string Caption() const;
    bool Checked() const;
    // Sets the tick without a click: OnClick does not run.
    void SetChecked(bool checked);
    // Clicks it as the user would: the tick turns, then OnClick runs. A disabled box
    // ignores it.
    void Click();
    std::function<void()> OnClick;
};

// A push button at (left, top), sized to its caption. It is never the default button.
class Button : public Control {
  public:
    Button(Dialog& dialog, const std::string& caption, int left, int top);
    std::string Caption() const;
    void Click();
    std::function<void()> OnClick;
};

// A single-line edit field: a tab stop, its text centred on the system's window colour.
class EditField : public Control {
  public:
    EditField(Dialog& dialog, const Rect& bounds);
    std::string Text() const;
    // Sets the text as the program does: OnEdited does not run.
    void SetText(const std::string& text);
    void SetReadOnly(bool readOnly);
    bool ReadOnly() const;
    // Only digits can be typed, pasted or dropped in.
    void SetDigitsOnly();
    // The field keeps its selection when the focus moves on (by default it drops it).
    void KeepSelection();
    void Focus();

    // A key pressed in the field; returning true takes it, so the field never sees it.
    std::function<bool(const KeyEvent&)> OnKeyDown;
    // A key let go, after the field has taken its press.
    std::function<void(const KeyEvent&)> OnKeyUp;
    std::function<void()> OnFocusLost;
    // After every change the user makes to the text, not only typed keys (a paste, a
    // middle click, the context menu, a drop); the text is then already changed.
    std::function<void()> OnEdited;
};

// An up and a down arrow, one above the other; an arrow held repeats at the
// platform's pace.
class UpDown : public Control {
  public:
    explicit UpDown(Dialog& dialog);
    // +1 for the up arrow, -1 for the down arrow.
    void Step(int direction);
    std::function<void(int direction)> OnStep;
};

} // namespace kadromir::ui
