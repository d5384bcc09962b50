#include "picture_formats.h"

#include "base/path_rules.h"
#include "rmb_decoder.h"
#include "scr_decoder.h"
#include "spr_decoder.h"

#include <algorithm>

namespace kadromir {
namespace {

DecodeResult SprBytes(std::span<const std::uint8_t> bytes, const std::string&) {
    return DecodeSpr(bytes);
}

DecodeResult ScrBytes(std::span<const std::uint8_t> bytes, const std::string& paletteName) {
    return DecodeScr(bytes, paletteName.empty() ? std::nullopt : ReadScrPalette(paletteName));
}

DecodeResult RmbBytes(std::span<const std::uint8_t> bytes, const std::string&) {
    return DecodeRmb(bytes);
}

constexpr std::string_view ScrLead{"\xFF\x7F", 2};

} // namespace

const std::array<PictureFormatRow, 3> PictureFormats{{
    {PictureFormat::Spr,
     ".SPR",
     "spr",
     "image/x-kadromir-spr",
     "SPR picture (256 × 256, 16 colours)",
     {},
     SprMaximumSize,
     true,
     &SprBytes,
     &DecodeSprFile},
    {PictureFormat::Rmb,
     ".RMB",
     "rmb",
     "image/x-kadromir-rmb",
     "RMB picture (256 × 256, 16 colours)",
     {},
     RmbReadLimit,
     false,
     &RmbBytes,
     &DecodeRmbFile},
    {PictureFormat::Scr,
     ".SCR",
     "scr",
     "image/x-kadromir-scr",
     "SCR picture (256 × 256, 16 colours)",
     {{{0, ScrLead}, {ScrHeaderTextOffset, ScrHeaderText}}},
     ScrReadLimit,
     false,
     &ScrBytes,
     &DecodeScrFile},
}};

const PictureFormatRow& RowOf(PictureFormat format) {
    return *std::find_if(PictureFormats.begin(), PictureFormats.end(),
                         [format](const PictureFormatRow& row) { return row.Format == format; });
}

std::optional<PictureFormat> FormatOfName(const std::string& name) {
    const std::string extension = AsciiUpper(ExtensionPart(name));
    for (const auto& row : PictureFormats) {
        if (extension == row.Extension) {
            return row.Format;
        }
    }
    return std::nullopt;
}

std::optional<PictureFormat> FormatOfContent(std::span<const std::uint8_t> head) {
    for (const auto& row : PictureFormats) {
        bool claimed = false;
        for (const auto& mark : row.Marks) {
            if (mark.Bytes.empty()) {
                continue;
            }
            claimed = head.size() >= mark.Offset + mark.Bytes.size() &&
                      std::equal(
                          mark.Bytes.begin(), mark.Bytes.end(),
                          head.begin() + static_cast<std::ptrdiff_t>(mark.Offset),
                          [](char a, std::uint8_t b) { return static_cast<std::uint8_t>(a) == b; });
            if (!claimed) {
                break;
            }
        }
        if (claimed) {
            return row.Format;
        }
    }
    return std::nullopt;
}

std::size_t FormatMarkBytes() {
    std::size_t bytes = 0;
    for (const auto& row : PictureFormats) {
        for (const auto& mark : row.Marks) {
            bytes = std::max(bytes, mark.Offset + mark.Bytes.size());
        }
    }
    return bytes;
}

std::size_t ReadLimitOf(PictureFormat format) {
    return RowOf(format).ReadLimit;
}

std::string PictureMasks() {
    std::string masks;
    for (const auto& row : PictureFormats) {
        masks += (masks.empty() ? "*." : ";*.") + std::string(row.Key);
    }
    return masks;
}

} // namespace kadromir
