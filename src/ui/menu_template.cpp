#include "menu_template.h"

namespace kadromir::ui {

std::vector<MenuTemplateItem> ParseMenuTemplate(const std::vector<std::string>& captions) {
    std::vector<MenuTemplateItem> items;
    std::vector<int> open{-1};
    for (std::size_t i = 0; i < captions.size() && !captions[i].empty(); ++i) {
        const std::string& caption = captions[i];
        if (caption == ")") {
            if (open.size() > 1) {
                open.pop_back();
            }
            continue;
        }
        if (caption == "(") {
            continue; // taken with the caption before it
        }
        const bool opensSubmenu = i + 1 < captions.size() && captions[i + 1] == "(";
        items.push_back({caption, open.back(), opensSubmenu});
        if (opensSubmenu) {
            open.push_back(static_cast<int>(items.size()) - 1);
        }
    }
    return items;
}

} // namespace kadromir::ui
