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

} // namespace kadromir
