#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <vector>

namespace kadromir::ui {

// A picture for the clipboard: an indexed image (a palette of 0xRRGGBB colours and a
// palette index a pixel, row by row from the top), and the same picture as PNG bytes
// for programs that take files.
struct ClipboardPicture {
    int Width = 0, Height = 0;
    std::vector<std::uint32_t> Palette;
    std::vector<std::uint8_t> Indices;
    std::string Png;
};

// Puts the picture on the system clipboard, replacing what was there.
void CopyToClipboard(const ClipboardPicture& picture);

} // namespace kadromir::ui
