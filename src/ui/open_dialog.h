#pragma once

#include <optional>
#include <string>

namespace kadromir::ui {

class Form;

// The open-file dialog: modal, owned by its window, one existing file per use. Its
// filter text is "description|pattern;pattern…" (patterns match without regard to
// letter case). It remembers the path its last use returned and starts there; a
// cancelled use forgets it.
class OpenDialog {
  public:
    explicit OpenDialog(Form& owner) : Owner(owner) {}

    void SetFilter(const std::string& filter) { Filter = filter; }
    const std::string& FilterText() const { return Filter; }
    const std::string& LastPath() const { return Remembered; }

    // Shows the dialog and waits; the chosen path, or nothing when cancelled.
    std::optional<std::string> Run();

  private:
    Form& Owner;
    std::string Filter;
    std::string Remembered;
};

} // namespace kadromir::ui
