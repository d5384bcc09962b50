#include "key_table.h"

namespace kadromir {

std::string KeyHelpText() {
    constexpr std::size_t Column = 19; // where the descriptions start, after "  "
    std::string text;
    for (const auto& binding : KeyTable) {
        std::string line = "  " + std::string(binding.KeyNames);
        line.resize(2 + Column, ' ');
        for (const char c : binding.Does) {
            line += c;
            if (c == '\n') {
                line.append(2 + Column, ' ');
            }
        }
        text += line + "\n";
    }
    return text;
}

std::string OverviewKeyHelpText() {
    return "  arrows, Home, End, Page Up, Page Down\n"
           "                     move the selection\n"
           "  letters            the next picture whose name starts with them\n"
           "  Enter, double click  open the selected picture\n"
           "  Esc                back to the picture as it was\n"
           "  +, -               larger or smaller tiles (64, 128, 256 pixels)\n";
}

} // namespace kadromir
