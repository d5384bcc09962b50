// The open dialog on Win32: the common dialog, whose patterns ignore letter case.
#include "ui/open_dialog.h"

#include "base/path_rules.h"
#include "base/win32/wide.h"
#include "file_dialogs.h"
#include "form_window.h"

#include <commdlg.h>

namespace kadromir::ui {

std::optional<std::string> OpenDialog::Run() {
    const auto bar = Filter.find('|');
    const std::wstring filter = DialogFilter(
        Filter.substr(0, bar), bar == std::string::npos ? "*.*" : Filter.substr(bar + 1));
    std::wstring file = Wide(FileNamePart(Remembered));
    file.resize(32768, L'\0');
    const std::wstring directory = Wide(DirectoryPart(Remembered));
    OPENFILENAMEW dialog{};
    dialog.lStructSize = sizeof dialog;
    dialog.hwndOwner = Owner.Window().Handle();
    dialog.lpstrFilter = filter.c_str();
    dialog.lpstrFile = file.data();
    dialog.nMaxFile = static_cast<DWORD>(file.size());
    dialog.lpstrInitialDir = directory.empty() ? nullptr : directory.c_str();
    dialog.Flags =
        OFN_FILEMUSTEXIST | OFN_PATHMUSTEXIST | OFN_NOCHANGEDIR | OFN_HIDEREADONLY | OFN_EXPLORER;
    if (!GetOpenFileNameW(&dialog)) {
        Remembered.clear();
        return std::nullopt;
    }
    file.resize(wcslen(file.c_str()));
    Remembered = Narrow(file);
    return Remembered;
}

} // namespace kadromir::ui
