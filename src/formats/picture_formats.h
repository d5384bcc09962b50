#pragma once

#include "decoded_picture.h"

#include <array>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <string_view>

namespace kadromir {

// The three formats, and everything that tells one from another, in one table: the
// viewer's list and open dialog, the decoders it picks, the converter, the Qt plugin's
// keys and the GdkPixbuf loaders all take their rules from here.
enum class PictureFormat { Spr, Scr, Rmb };

// Bytes at an offset that a file of the format always holds.
struct FormatMark {
    std::size_t Offset;
    std::string_view Bytes;
};

struct PictureFormatRow {
    PictureFormat Format;
    std::string_view Extension; // as LoadPicture compares it, upper case with the dot
    std::string_view Key;       // lower case, no dot: masks, plugin keys, loader names
    std::string_view MimeType;
    std::string_view Description;
    // Marks strong enough to claim a file by its content alone. RMB's three bytes at
    // offset 16 also open some TGA files and SPR has none, so only SCR has them here.
    std::array<FormatMark, 2> Marks;
    // The most of a file the decoder can use. An SPR longer than this is refused as the
    // viewer refuses it; the other formats ignore what lies beyond.
    std::size_t ReadLimit;
    bool RefusesLongerFiles;
    // The decoder over bytes; an SCR takes the colours of the side file of
    // `paletteName` (none: the default palette).
    DecodeResult (*DecodeBytes)(std::span<const std::uint8_t> bytes,
                                const std::string& paletteName);
    // The decoder that reads a file by its path (SCR with its side file).
    DecodeResult (*DecodeFile)(const std::string& path);
};

// In the order of the viewer's masks, "*.spr;*.rmb;*.scr".
extern const std::array<PictureFormatRow, 3> PictureFormats;

const PictureFormatRow& RowOf(PictureFormat format);
// By the name's extension (ASCII letters without regard to case).
std::optional<PictureFormat> FormatOfName(const std::string& name);
// By the content, where the host names no format: the marks above.
std::optional<PictureFormat> FormatOfContent(std::span<const std::uint8_t> head);
// How many leading bytes of the content FormatOfContent looks at.
std::size_t FormatMarkBytes();
std::size_t ReadLimitOf(PictureFormat format);
// "*.spr;*.rmb;*.scr": the masks of the viewer's list and open dialog.
std::string PictureMasks();

} // namespace kadromir
