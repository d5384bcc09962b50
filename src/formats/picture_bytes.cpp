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

constexpr std::array<std::uint8_t, 2> ScrLeadMark{0xFF, 0x7F};
constexpr std::string_view ScrSignature = "T.288-31-25";
constexpr std::size_t ScrSignatureOffset = 5;
constexpr std::array<std::uint8_t, 3> RmbMark{0x20, 0x00, 0x0F};

bool HasAt(std::span<const std::uint8_t> bytes, std::size_t offset,
           std::span<const std::uint8_t> mark) {
    return bytes.size() >= offset + mark.size() &&
           std::equal(mark.begin(), mark.end(),
                      bytes.begin() + static_cast<std::ptrdiff_t>(offset));
}

} // namespace

std::optional<PictureFormat> FormatOfName(const std::string& name) {
    const std::string extension = AsciiUpper(ExtensionPart(name));
    if (extension == ".SPR") {
        return PictureFormat::Spr;
    }
    if (extension == ".SCR") {
        return PictureFormat::Scr;
    }
    if (extension == ".RMB") {
        return PictureFormat::Rmb;
    }
    return std::nullopt;
}

std::optional<PictureFormat> FormatOfContent(std::span<const std::uint8_t> head) {
    const std::span<const std::uint8_t> signature(
        reinterpret_cast<const std::uint8_t*>(ScrSignature.data()), ScrSignature.size());
    if (HasAt(head, 0, ScrLeadMark) && HasAt(head, ScrSignatureOffset, signature)) {
        return PictureFormat::Scr;
    }
    if (HasAt(head, RmbMarkOffset, RmbMark)) {
        return PictureFormat::Rmb;
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

DecodeResult DecodeBytes(PictureFormat format, std::span<const std::uint8_t> bytes) {
    switch (format) {
    case PictureFormat::Spr:
        return DecodeSpr(bytes);
    case PictureFormat::Scr:
        return DecodeScr(bytes, std::nullopt);
    case PictureFormat::Rmb:
        return DecodeRmb(bytes);
    }
    return NothingLoaded{};
}

} // namespace kadromir
