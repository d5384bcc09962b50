#pragma once

#include <QString>

#include <optional>
#include <string>

class QWidget;

namespace kadromir::ui {

// The open-file dialog. Its filter text is "description|patterns"; it remembers the
// path its last use returned and starts there (a cancelled use forgets it).
class OpenDialog {
public:
    explicit OpenDialog(QWidget& owner) : Owner(&owner) {}

    void SetFilter(const std::string& filter) { Filter = filter; }
    const std::string& FilterText() const { return Filter; }
    const std::string& LastPath() const { return Remembered; }
    QWidget& OwnerWindow() const { return *Owner; }

private:
    QWidget* Owner;
    std::string Filter;
    std::string Remembered;
};

} // namespace kadromir::ui
