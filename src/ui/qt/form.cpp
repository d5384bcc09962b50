// The form's face on Qt: each call goes to its FormWindow.
#include "ui/form.h"

#include "app_icon.h"
#include "form_window.h"

#include <QApplication>

namespace kadromir::ui {

Form& Form::Create(const std::string& caption) {
    // The window deletes itself once closed, and its form with it.
    return (new FormWindow(caption))->Face();
}

Form::~Form() = default;

void Form::ReleaseOwned() {
    while (!FreeList.empty()) {
        FreeList.pop_back();
    }
}

void Form::SetCaption(const std::string& caption) {
    Native->SetCaption(caption);
}
std::string Form::Caption() const {
    return Native->Caption();
}
void Form::SetProgramIcon() {
    Native->setWindowIcon(AppIcon());
}

int Form::OuterLeft() const {
    return Native->OuterLeft();
}
int Form::OuterTop() const {
    return Native->OuterTop();
}
int Form::OuterWidth() const {
    return Native->OuterWidth();
}
int Form::OuterHeight() const {
    return Native->OuterHeight();
}
void Form::SetOuterLeft(int left) {
    Native->SetOuterLeft(left);
}
void Form::SetOuterTop(int top) {
    Native->SetOuterTop(top);
}
void Form::SetOuterWidth(int width) {
    Native->SetOuterWidth(width);
}
void Form::SetOuterHeight(int height) {
    Native->SetOuterHeight(height);
}
void Form::MoveOuter(int left, int top) {
    Native->MoveOuter(left, top);
}
bool Form::PlacesWindows() const {
    return Native->PlacesWindows();
}
void Form::SetOuterBounds(int left, int top, int width, int height) {
    Native->SetOuterBounds(left, top, width, height);
}
void Form::InNormalState(std::function<void()> change) {
    Native->InNormalState(std::move(change));
}

int Form::ClientWidth() const {
    return Native->ClientWidth();
}
int Form::ClientHeight() const {
    return Native->ClientHeight();
}
void Form::SetClientSize(int width, int height) {
    Native->SetClientSize(width, height);
}
void Form::MoveClient(int left, int top) {
    Native->move(left, top);
}

void Form::CentreOnPointerDisplay() {
    Native->CentreOnPointerDisplay();
}
Rect Form::PrimaryScreen() {
    const QRect screen = FormWindow::PrimaryScreen();
    return {screen.left(), screen.top(), screen.width(), screen.height()};
}

void Form::SetBackgroundColour(std::uint32_t colour) {
    Native->SetBackgroundColour(colour);
}
std::uint32_t Form::BackgroundColour() const {
    return Native->BackgroundColour();
}

void Form::SetStatusText(const std::string& text) {
    Native->SetStatusText(text);
}
std::string Form::StatusText() const {
    return Native->StatusText();
}
bool Form::HasStatusLine() const {
    return Native->HasStatusLine();
}

void Form::Show() {
    Native->show();
}
bool Form::Visible() const {
    return Native->isVisible();
}
bool Form::IsActiveWindow() const {
    return QApplication::activeWindow() == Native;
}
void Form::Close() {
    Native->close();
}
void Form::SetEnabled(bool enabled) {
    Native->setEnabled(enabled);
}
void Form::Activate() {
    Native->raise();
    Native->activateWindow();
}

void Form::AddIdleHandler(const void* key, std::function<void()> handler) {
    Native->AddIdleHandler(key, std::move(handler));
}
void Form::RemoveIdleHandler(const void* key) {
    Native->RemoveIdleHandler(key);
}

} // namespace kadromir::ui
