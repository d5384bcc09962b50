// Message boxes and the save dialog on Win32.
#include "ui/dialogs.h"

#include "base/win32/wide.h"
#include "file_dialogs.h"
#include "form_window.h"

namespace kadromir::ui {

void ShowMessage(Form& owner, const std::string& caption, const std::string& text,
                 MessageKind kind) {
    MessageBoxW(owner.Window().Handle(), Wide(text).c_str(), Wide(caption).c_str(),
                MB_OK | MB_SETFOREGROUND | (kind == MessageKind::Warning ? MB_ICONWARNING : 0));
}

std::optional<std::string> AskSavePath(Form& owner, const SaveRequest& request) {
    return RunFileDialog({owner.Window().Handle(), true, request.Title, request.Description,
                          "*." + request.Extension, request.Directory, request.FileName,
                          request.Extension});
}

} // namespace kadromir::ui
