// The clipboard on Win32: the picture as a device-independent bitmap with its palette
// (4 bits a pixel for up to 16 colours, else 8), and as PNG for programs that take it.
#include "ui/clipboard.h"

#include <windows.h>

#include <cstring>

namespace kadromir::ui {
namespace {

// A movable global block holding `bytes`, as the clipboard takes it; null on failure.
HGLOBAL GlobalBlock(const std::string& bytes) {
    const HGLOBAL block = GlobalAlloc(GMEM_MOVEABLE, bytes.size());
    if (block == nullptr) {
        return nullptr;
    }
    std::memcpy(GlobalLock(block), bytes.data(), bytes.size());
    GlobalUnlock(block);
    return block;
}

std::string PackedBitmap(const ClipboardPicture& picture) {
    const int bits = picture.Palette.size() <= 16 ? 4 : 8;
    const std::size_t colours = bits == 4 ? 16 : 256;
    const std::size_t stride = ((static_cast<std::size_t>(picture.Width) * bits + 31) / 32) * 4;
    BITMAPINFOHEADER header{};
    header.biSize = sizeof header;
    header.biWidth = picture.Width;
    header.biHeight = picture.Height; // rows from the bottom, as every reader expects
    header.biPlanes = 1;
    header.biBitCount = static_cast<WORD>(bits);
    header.biCompression = BI_RGB;
    header.biSizeImage = static_cast<DWORD>(stride * static_cast<std::size_t>(picture.Height));
    header.biClrUsed = static_cast<DWORD>(colours);
    std::string packed(sizeof header + colours * sizeof(RGBQUAD) + header.biSizeImage, '\0');
    std::memcpy(packed.data(), &header, sizeof header);
    auto* palette = reinterpret_cast<RGBQUAD*>(packed.data() + sizeof header);
    for (std::size_t i = 0; i < picture.Palette.size() && i < colours; ++i) {
        const std::uint32_t rgb = picture.Palette[i];
        palette[i] = {static_cast<BYTE>(rgb & 0xFF), static_cast<BYTE>((rgb >> 8) & 0xFF),
                      static_cast<BYTE>((rgb >> 16) & 0xFF), 0};
    }
    auto* pixels =
        reinterpret_cast<std::uint8_t*>(packed.data() + sizeof header + colours * sizeof(RGBQUAD));
    for (int y = 0; y < picture.Height; ++y) {
        std::uint8_t* row = pixels + stride * static_cast<std::size_t>(picture.Height - 1 - y);
        for (int x = 0; x < picture.Width; ++x) {
            const std::uint8_t index =
                picture
                    .Indices[static_cast<std::size_t>(y) * static_cast<std::size_t>(picture.Width) +
                             static_cast<std::size_t>(x)];
            if (bits == 8) {
                row[x] = index;
            } else {
                row[x / 2] |= static_cast<std::uint8_t>(x % 2 == 0 ? index << 4 : index & 0x0F);
            }
        }
    }
    return packed;
}

} // namespace

void CopyToClipboard(const ClipboardPicture& picture) {
    if (picture.Width <= 0 || picture.Height <= 0 ||
        picture.Indices.size() <
            static_cast<std::size_t>(picture.Width) * static_cast<std::size_t>(picture.Height) ||
        !OpenClipboard(nullptr)) {
        return;
    }
    EmptyClipboard();
    if (const HGLOBAL bitmap = GlobalBlock(PackedBitmap(picture))) {
        if (SetClipboardData(CF_DIB, bitmap) == nullptr) {
            GlobalFree(bitmap);
        }
    }
    if (!picture.Png.empty()) {
        if (const HGLOBAL png = GlobalBlock(picture.Png)) {
            if (SetClipboardData(RegisterClipboardFormatW(L"PNG"), png) == nullptr) {
                GlobalFree(png);
            }
        }
    }
    CloseClipboard();
}

} // namespace kadromir::ui
