// The open dialog on Win32: the common dialog, whose patterns ignore letter case.
#include "ui/open_dialog.h"

#include "base/path_rules.h"
#include "file_dialogs.h"
#include "form_window.h"

namespace kadromir::ui {

std::optional<std::string> OpenDialog::Run() {
    const auto bar = Filter.find('|');
    const auto chosen = RunFileDialog({Owner.Window().Handle(), false, "", Filter.substr(0, bar),
                                       bar == std::string::npos ? "*.*" : Filter.substr(bar + 1),
                                       DirectoryPart(Remembered), FileNamePart(Remembered), ""});
    Remembered = chosen.value_or("");
    return chosen;
}

} // namespace kadromir::ui
