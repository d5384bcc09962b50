#include "picture_bytes.h"

#include "base/path_rules.h"
#include "rmb_decoder.h"
#include "scr_decoder.h"
#include "spr_decoder.h"

#include <algorithm>
#include <array>
#include <string_view>

namespace kadromir {
namespace {

struct NamedFormat {
    std::string_view Extension;
    PictureFormat Format;
};

// Compared in this order; the first equal extension wins.
constexpr std::array<NamedFormat, 3> Extensions{{
    {".SPR", PictureFormat::Spr},
    {".SCR", PictureFormat::Scr},
    {".RMB", PictureFormat::Rmb},
}};

bool HasAt(std::span<const std::uint8_t> bytes, std::size_t offset,
           std::span<const std::uint8_t> mark) {
    return bytes.size() >= offset + mark.size() &&
           std::equal(mark.begin(), mark.end(),
                      bytes.begin() + static_cast<std::ptrdiff_t>(offset));
}

DecodeResult DecodeBytes(PictureFormat format, std::span<const std::uint8_t> bytes,
                         const std::string& paletteName) {
    switch (format) {
    case PictureFormat::Spr:
        return DecodeSpr(bytes);
    case PictureFormat::Scr:
        return DecodeScr(bytes, paletteName.empty() ? std::nullopt : ReadScrPalette(paletteName));
    case PictureFormat::Rmb:
        return DecodeRmb(bytes);
    }
    return NothingLoaded{};
}

} // namespace

std::optional<PictureFormat> FormatOfName(const std::string& name) {
    const std::string extension = AsciiUpper(ExtensionPart(name));
    for (const auto& entry : Extensions) {
        if (extension == entry.Extension) {
            return entry.Format;
        }
    }
    return std::nullopt;
}

std::optional<PictureFormat> FormatOfContent(std::span<const std::uint8_t> head) {
    const std::span<const std::uint8_t> text(
        reinterpret_cast<const std::uint8_t*>(ScrHeaderText.data()), ScrHeaderText.size());
    if (HasAt(head, 0, ScrLeadMark) && HasAt(head, ScrHeaderTextOffset, text)) {
        return PictureFormat::Scr;
    }
    return std::nullopt;
}

std::size_t ReadLimitOf(PictureFormat format) {
    switch (format) {
    case PictureFormat::Spr:
        return SprMaximumSize;
    case PictureFormat::Scr:
        return ScrReadLimit;
    case PictureFormat::Rmb:
        return RmbReadLimit;
    }
    return 0;
}

LoadOutcome LoadPictureBytes(PictureFormat format, std::span<const std::uint8_t> bytes,
                             PictureState& state, const std::string& paletteName) {
    state.LoadMessage.clear();
    const std::size_t limit = ReadLimitOf(format);
    // An SPR longer than any such picture counts as empty, as the file reader has it.
    if (format == PictureFormat::Spr && bytes.size() > limit) {
        bytes = {};
    }
    return ApplyDecodeResult(
        DecodeBytes(format, bytes.first(std::min(bytes.size(), limit)), paletteName), state);
}

} // namespace kadromir
