#pragma once

#include "colour_code.h"
#include "plane_buffer.h"

#include <array>
#include <string_view>
#include <variant>

namespace kadromir {

enum class PlaneOrder { Straight, Mirrored };

// What an accepted file gives: the border colour, the 16 palette entries, the planes
// (zero where a short stream did not reach) and which converter turns them into pixels.
struct DecodedPicture {
    // Leaves the planes unset: the decoder that makes a picture writes every byte of
    // them, so clearing 32 KiB first would only cost time on every load.
    DecodedPicture() {}

    ColourCode Border = 0;
    std::array<ColourCode, 16> Palette{};
    PlaneBuffer Planes;
    PlaneOrder Order = PlaneOrder::Straight;
};

// A designed rejection: the text that goes into LoadMessage.
struct Rejection {
    std::string_view Message;
};

// A file that loads nothing and says nothing (an SCR file without its lead mark).
struct NothingLoaded {};

// NothingLoaded comes first so that a fresh result is cheap; decoders build their
// one result object in place and return it, so the planes are never copied.
using DecodeResult = std::variant<NothingLoaded, Rejection, DecodedPicture>;

} // namespace kadromir
