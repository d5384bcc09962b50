// Message boxes and the save dialog on Win32.
#include "ui/dialogs.h"

#include "base/path_rules.h"
#include "base/win32/wide.h"
#include "file_dialogs.h"
#include "form_window.h"

#include <commdlg.h>

namespace kadromir::ui {

std::wstring DialogFilter(const std::string& description, const std::string& patterns) {
    std::wstring filter = Wide(description);
    filter += L'\0';
    filter += Wide(patterns);
    filter += L'\0';
    filter += L'\0';
    return filter;
}

void ShowMessage(Form& owner, const std::string& caption, const std::string& text,
                 MessageKind kind) {
    MessageBoxW(owner.Window().Handle(), Wide(text).c_str(), Wide(caption).c_str(),
                MB_OK | MB_SETFOREGROUND | (kind == MessageKind::Warning ? MB_ICONWARNING : 0));
}

std::optional<std::string> AskSavePath(Form& owner, const SaveRequest& request) {
    std::wstring file = Wide(request.FileName);
    file.resize(32768, L'\0');
    const std::wstring filter = DialogFilter(request.Description, "*." + request.Extension);
    const std::wstring title = Wide(request.Title);
    const std::wstring directory = Wide(request.Directory);
    const std::wstring extension = Wide(request.Extension);
    OPENFILENAMEW dialog{};
    dialog.lStructSize = sizeof dialog;
    dialog.hwndOwner = owner.Window().Handle();
    dialog.lpstrFilter = filter.c_str();
    dialog.lpstrFile = file.data();
    dialog.nMaxFile = static_cast<DWORD>(file.size());
    dialog.lpstrInitialDir = directory.empty() ? nullptr : directory.c_str();
    dialog.lpstrTitle = title.c_str();
    dialog.lpstrDefExt = extension.c_str();
    dialog.Flags =
        OFN_OVERWRITEPROMPT | OFN_PATHMUSTEXIST | OFN_NOCHANGEDIR | OFN_HIDEREADONLY | OFN_EXPLORER;
    if (!GetSaveFileNameW(&dialog)) {
        return std::nullopt;
    }
    file.resize(wcslen(file.c_str()));
    return Narrow(file);
}

} // namespace kadromir::ui
