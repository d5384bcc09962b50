// The common file dialogs on Win32.
#include "file_dialogs.h"

#include "base/win32/wide.h"

#include <commdlg.h>

namespace kadromir::ui {

std::optional<std::string> RunFileDialog(const FileDialogRequest& request) {
    // The filter: the description and its patterns, each ended by a zero, the list by
    // another.
    std::wstring filter = Wide(request.Description);
    filter += L'\0';
    filter += Wide(request.Patterns);
    filter += std::wstring(2, L'\0');
    std::wstring file = Wide(request.FileName);
    file.resize(32768, L'\0'); // the longest path Windows takes
    const std::wstring title = Wide(request.Title);
    const std::wstring directory = Wide(request.Directory);
    const std::wstring extension = Wide(request.Extension);
    OPENFILENAMEW dialog{};
    dialog.lStructSize = sizeof dialog;
    dialog.hwndOwner = request.Owner;
    dialog.lpstrFilter = filter.c_str();
    dialog.lpstrFile = file.data();
    dialog.nMaxFile = static_cast<DWORD>(file.size());
    dialog.lpstrInitialDir = directory.empty() ? nullptr : directory.c_str();
    dialog.lpstrTitle = title.empty() ? nullptr : title.c_str();
    dialog.lpstrDefExt = extension.empty() ? nullptr : extension.c_str();
    dialog.Flags = OFN_PATHMUSTEXIST | OFN_NOCHANGEDIR | OFN_HIDEREADONLY | OFN_EXPLORER |
                   (request.Save ? OFN_OVERWRITEPROMPT : OFN_FILEMUSTEXIST);
    if (!(request.Save ? GetSaveFileNameW(&dialog) : GetOpenFileNameW(&dialog))) {
        return std::nullopt;
    }
    file.resize(wcslen(file.c_str()));
    return Narrow(file);
}

} // namespace kadromir::ui
