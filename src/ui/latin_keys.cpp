#include "latin_keys.h"

#include <array>
#include <utility>

namespace kadromir::ui {
namespace {

bool IsLatinLetterOrDigit(int key) {
    return (key >= Qt::Key_0 && key <= Qt::Key_9) || (key >= Qt::Key_A && key <= Qt::Key_Z);
}

// X key codes of the main block, by row, as the standard keyboard places them.
constexpr std::array<std::pair<quint32, int>, 36> Positions{{
    {10, Qt::Key_1}, {11, Qt::Key_2}, {12, Qt::Key_3}, {13, Qt::Key_4}, {14, Qt::Key_5},
    {15, Qt::Key_6}, {16, Qt::Key_7}, {17, Qt::Key_8}, {18, Qt::Key_9}, {19, Qt::Key_0},
    {24, Qt::Key_Q}, {25, Qt::Key_W}, {26, Qt::Key_E}, {27, Qt::Key_R}, {28, Qt::Key_T},
    {29, Qt::Key_Y}, {30, Qt::Key_U}, {31, Qt::Key_I}, {32, Qt::Key_O}, {33, Qt::Key_P},
    {38, Qt::Key_A}, {39, Qt::Key_S}, {40, Qt::Key_D}, {41, Qt::Key_F}, {42, Qt::Key_G},
    {43, Qt::Key_H}, {44, Qt::Key_J}, {45, Qt::Key_K}, {46, Qt::Key_L}, {52, Qt::Key_Z},
    {53, Qt::Key_X}, {54, Qt::Key_C}, {55, Qt::Key_V}, {56, Qt::Key_B}, {57, Qt::Key_N},
    {58, Qt::Key_M},
}};

} // namespace

int LatinKeyAtPosition(const QKeyEvent& event) {
    for (const auto& [code, key] : Positions) {
        if (code == event.nativeScanCode()) {
            return key;
        }
    }
    return 0;
}

int ShortcutKey(const QKeyEvent& event) {
    return IsLatinLetterOrDigit(event.key()) ? event.key() : LatinKeyAtPosition(event);
}

} // namespace kadromir::ui
