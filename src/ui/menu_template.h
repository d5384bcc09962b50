#pragma once

#include <string>
#include <vector>

namespace kadromir::ui {

// One item of a menu template, in template order (depth-first).
struct MenuTemplateItem {
    std::string Caption;
    // The item whose submenu holds this one; -1 for the menu itself.
    int Parent = -1;
    bool OpensSubmenu = false;
};

// The items of a template of captions: "(" after a caption opens a submenu holding the
// entries up to the matching ")", and an empty caption ends the template. A ")" with no
// open submenu is ignored.
std::vector<MenuTemplateItem> ParseMenuTemplate(const std::vector<std::string>& captions);

} // namespace kadromir::ui
