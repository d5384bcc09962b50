#pragma once

#include <optional>
#include <string>

namespace kadromir::ui {

class Form;

// A message box owned by `owner`, modal to it and brought to the front, with one OK
// button; waits until it is closed.
enum class MessageKind { Plain, Warning };
void ShowMessage(Form& owner, const std::string& caption, const std::string& text,
                 MessageKind kind = MessageKind::Plain);

// The save-file dialog: modal to `owner`, starting in `directory` with `fileName`
// offered, files of one kind (`description`, `extension` without its dot, added to a
// name typed without it). The chosen path, or nothing when cancelled. Paths are bytes.
struct SaveRequest {
    std::string Title;
    std::string Description;
    std::string Extension;
    std::string Directory;
    std::string FileName;
};
std::optional<std::string> AskSavePath(Form& owner, const SaveRequest& request);

} // namespace kadromir::ui
