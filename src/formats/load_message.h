#pragma once

#include <string_view>

namespace kadromir {

// The fixed rejection texts. The title shows them directly after the file name, so
// each carries its own leading dash and blanks, which differ between the formats.
namespace LoadMessages {
inline constexpr std::string_view SprUnsuitable = " - Неподходящий файл!";
inline constexpr std::string_view ScrHeaderMismatch = "- Несоответствие в заголовке!";
inline constexpr std::string_view ScrReadError = "- Ошибка чтения файла!";
inline constexpr std::string_view RmbHeaderMismatch = "-Несоответствие в заголовке!";
inline constexpr std::string_view RmbTooShort = "-Размер файла меньше требуемого!";
inline constexpr std::string_view RmbReadError = "-Ошибка чтения файла!";
} // namespace LoadMessages

} // namespace kadromir
