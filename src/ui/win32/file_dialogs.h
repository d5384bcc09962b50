#pragma once

// The common file dialogs, open and save, as both uses fill them in.

#include <windows.h>

#include <optional>
#include <string>

namespace kadromir::ui {

struct FileDialogRequest {
    HWND Owner = nullptr;
    bool Save = false;
    std::string Title;       // empty: the dialog's own
    std::string Description; // the one filter's name
    std::string Patterns;    // "*.spr;*.scr"
    std::string Directory;   // where it starts; empty: the dialog's choice
    std::string FileName;    // offered
    std::string Extension;   // added to a name typed without one (save)
};

// Shows the dialog and waits: the chosen path (UTF-8, as long as Windows allows), or
// nothing when cancelled.
std::optional<std::string> RunFileDialog(const FileDialogRequest& request);

} // namespace kadromir::ui
