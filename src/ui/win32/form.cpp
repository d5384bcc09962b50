// The form's face on Win32: each call goes to its FormWindow.
#include "ui/form.h"

#include "form_window.h"

namespace kadromir::ui {

Form& Form::Create(const std::string& caption) {
    // The window deletes itself once destroyed, and its form with it.
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
    // The icon the executable carries as its first resource.
    const HINSTANCE instance = GetModuleHandleW(nullptr);
    const auto icon = [instance](int metric) {
        return reinterpret_cast<LPARAM>(
            LoadImageW(instance, MAKEINTRESOURCEW(1), IMAGE_ICON, GetSystemMetrics(metric),
                       GetSystemMetrics(metric), LR_DEFAULTCOLOR | LR_SHARED));
    };
    SendMessageW(Native->Handle(), WM_SETICON, ICON_BIG, icon(SM_CXICON));
    SendMessageW(Native->Handle(), WM_SETICON, ICON_SMALL, icon(SM_CXSMICON));
}

int Form::OuterLeft() const {
    return Native->OuterBounds().Left;
}

int Form::OuterTop() const {
    return Native->OuterBounds().Top;
}

int Form::OuterWidth() const {
    return Native->OuterBounds().Width;
}

int Form::OuterHeight() const {
    return Native->OuterBounds().Height;
}

void Form::SetOuterLeft(int left) {
    Rect bounds = Native->OuterBounds();
    bounds.Left = left;
    Native->SetOuterBounds(bounds);
}

void Form::SetOuterTop(int top) {
    Rect bounds = Native->OuterBounds();
    bounds.Top = top;
    Native->SetOuterBounds(bounds);
}

void Form::SetOuterWidth(int width) {
    Rect bounds = Native->OuterBounds();
    bounds.Width = width;
    Native->SetOuterBounds(bounds);
}

void Form::SetOuterHeight(int height) {
    Rect bounds = Native->OuterBounds();
    bounds.Height = height;
    Native->SetOuterBounds(bounds);
}

void Form::MoveOuter(int left, int top) {
    Rect bounds = Native->OuterBounds();
    bounds.Left = left;
    bounds.Top = top;
    Native->SetOuterBounds(bounds);
}

bool Form::PlacesWindows() const {
    return true; // Windows places a window where the program asks
}

void Form::SetOuterBounds(int left, int top, int width, int height) {
    Native->SetOuterBounds({left, top, width, height});
}

void Form::InNormalState(std::function<void()> change) {
    const HWND window = Native->Handle();
    if (IsZoomed(window) || IsIconic(window)) {
        ShowWindow(window, SW_RESTORE); // done when it returns
    }
    change();
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
    Native->MoveClient(left, top);
}

void Form::CentreOnPointerDisplay() {
    Native->CentreOnPointerDisplay();
}

Rect Form::PrimaryScreen() {
    MONITORINFO info{};
    info.cbSize = sizeof info;
    GetMonitorInfoW(MonitorFromPoint({0, 0}, MONITOR_DEFAULTTOPRIMARY), &info);
    return RectFromEdges(info.rcMonitor.left, info.rcMonitor.top, info.rcMonitor.right,
                         info.rcMonitor.bottom);
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
    ShowWindow(Native->Handle(), SW_SHOW);
    UpdateWindow(Native->Handle());
}

bool Form::Visible() const {
    return IsWindowVisible(Native->Handle()) != FALSE;
}

bool Form::IsActiveWindow() const {
    return GetActiveWindow() == Native->Handle();
}

void Form::Close() {
    SendMessageW(Native->Handle(), WM_CLOSE, 0, 0);
}

void Form::SetEnabled(bool enabled) {
    EnableWindow(Native->Handle(), enabled);
}

void Form::Activate() {
    SetForegroundWindow(Native->Handle());
    SetActiveWindow(Native->Handle());
}

void Form::AddIdleHandler(const void* key, std::function<void()> handler) {
    Native->AddIdleHandler(key, std::move(handler));
}

void Form::RemoveIdleHandler(const void* key) {
    Native->RemoveIdleHandler(key);
}

} // namespace kadromir::ui
