#include "picture_png.h"

#include <spng.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <memory>
#include <optional>
#include <unordered_map>

namespace kadromir {
namespace {

struct ContextDeleter {
    void operator()(spng_ctx* context) const { spng_ctx_free(context); }
};
using Context = std::unique_ptr<spng_ctx, ContextDeleter>;

// A fixed compression, so that the bytes never depend on the library's defaults.
constexpr int CompressionLevel = 9;

std::string Hex(std::uint32_t rgb) {
    char text[8];
    std::snprintf(text, sizeof text, "#%06X", rgb & 0xFFFFFF);
    return text;
}

} // namespace

std::vector<std::uint8_t> PictureIndices(const FrameBitmap& bitmap, int side) {
    if (side < 1 || side > MaxPictureSide) {
        return {};
    }
    std::vector<std::uint8_t> indices(static_cast<std::size_t>(side) * side);
    std::vector<int> columns(static_cast<std::size_t>(side));
    for (int x = 0; x < side; ++x) {
        columns[static_cast<std::size_t>(x)] = (2 * x + 1) * FrameBitmap::Width / (2 * side);
    }
    for (int y = 0; y < side; ++y) {
        const int row = (2 * y + 1) * FrameBitmap::Height / (2 * side);
        std::uint8_t* out = indices.data() + static_cast<std::size_t>(y) * side;
        for (int x = 0; x < side; ++x) {
            out[x] = static_cast<std::uint8_t>(
                bitmap.PixelIndex(columns[static_cast<std::size_t>(x)], row));
        }
    }
    return indices;
}

std::string EncodePicturePng(const PictureState& picture, int side) {
    const std::vector<std::uint8_t> indices = PictureIndices(picture.Bitmap, side);
    if (indices.empty()) {
        return {};
    }
    Context context(spng_ctx_new(SPNG_CTX_ENCODER));
    if (!context) {
        return {};
    }
    spng_ctx* png = context.get();
    spng_set_option(png, SPNG_ENCODE_TO_BUFFER, 1);
    spng_set_option(png, SPNG_IMG_COMPRESSION_LEVEL, CompressionLevel);
    // Palette pixels compress best unfiltered, and the filter search is most of the work.
    spng_set_option(png, SPNG_FILTER_CHOICE, SPNG_FILTER_CHOICE_NONE);
    spng_ihdr header{};
    header.width = static_cast<std::uint32_t>(side);
    header.height = static_cast<std::uint32_t>(side);
    header.bit_depth = 8;
    header.color_type = SPNG_COLOR_TYPE_INDEXED;
    spng_plte palette{};
    palette.n_entries = FrameBitmap::PaletteSize;
    for (int i = 0; i < FrameBitmap::PaletteSize; ++i) {
        const std::uint32_t rgb = picture.Bitmap.PaletteEntry(i);
        palette.entries[i] = {static_cast<std::uint8_t>(rgb >> 16),
                              static_cast<std::uint8_t>(rgb >> 8), static_cast<std::uint8_t>(rgb),
                              0xFF};
    }
    char border[3];
    std::snprintf(border, sizeof border, "%02X", picture.BorderColour);
    spng_text text{};
    std::snprintf(text.keyword, sizeof text.keyword, "Border");
    text.type = SPNG_TEXT;
    text.length = 2;
    text.text = border;
    if (spng_set_ihdr(png, &header) != 0 || spng_set_plte(png, &palette) != 0 ||
        spng_set_text(png, &text, 1) != 0 ||
        spng_encode_image(png, indices.data(), indices.size(), SPNG_FMT_PNG,
                          SPNG_ENCODE_FINALIZE) != 0) {
        return {};
    }
    std::size_t length = 0;
    int error = 0;
    void* bytes = spng_get_png_buffer(png, &length, &error);
    if (bytes == nullptr || error != 0) {
        std::free(bytes);
        return {};
    }
    std::string result(static_cast<const char*>(bytes), length);
    std::free(bytes);
    return result;
}

std::optional<ColourCode> CodeOfColour(std::uint32_t rgb) {
    const auto& table = ColourCodeTable::PaletteForm;
    const auto found = std::find(table.begin(), table.end(), rgb & 0xFFFFFF);
    if (found == table.end()) {
        return std::nullopt;
    }
    return static_cast<ColourCode>(found - table.begin());
}

ColourCode NearestCode(std::uint32_t rgb) {
    const auto distance = [rgb](std::uint32_t other) {
        int sum = 0;
        for (const int shift : {16, 8, 0}) {
            const int d =
                static_cast<int>((rgb >> shift) & 0xFF) - static_cast<int>((other >> shift) & 0xFF);
            sum += d * d;
        }
        return sum;
    };
    int best = 0;
    for (int code = 1; code < 256; ++code) {
        if (distance(ColourCodeTable::PaletteForm[static_cast<std::size_t>(code)]) <
            distance(ColourCodeTable::PaletteForm[static_cast<std::size_t>(best)])) {
            best = code;
        }
    }
    return static_cast<ColourCode>(best);
}

std::variant<PngPicture, PngRefusal> ReadPicturePng(std::span<const std::uint8_t> bytes,
                                                    bool nearest) {
    Context context(spng_ctx_new(0));
    if (!context) {
        return PngRefusal{"no memory to read the PNG"};
    }
    spng_ctx* png = context.get();
    // Nothing larger than our pictures is worth reading, and no chunk is allowed to
    // ask for more memory than a picture's worth.
    spng_set_image_limits(png, FrameBitmap::Width, FrameBitmap::Height);
    spng_set_chunk_limits(png, std::size_t{1} << 20, std::size_t{4} << 20);
    spng_set_png_buffer(png, bytes.data(), bytes.size());
    spng_ihdr header{};
    if (const int error = spng_get_ihdr(png, &header); error != 0) {
        if (error == SPNG_EWIDTH || error == SPNG_EHEIGHT || error == SPNG_EUSER_WIDTH ||
            error == SPNG_EUSER_HEIGHT) {
            return PngRefusal{"the picture must be 256 x 256 pixels; this one is larger"};
        }
        return PngRefusal{std::string("not a PNG that can be read: ") + spng_strerror(error)};
    }
    if (header.width != FrameBitmap::Width || header.height != FrameBitmap::Height) {
        return PngRefusal{"the picture must be 256 x 256 pixels; this one is " +
                          std::to_string(header.width) + " x " + std::to_string(header.height)};
    }
    if (header.bit_depth == 16) {
        return PngRefusal{"16 bits per sample: the picture's colours must be 8-bit (code "
                          "colours), save it with 8 bits per sample or as a palette PNG"};
    }
    constexpr std::size_t Pixels = FrameBitmap::Width * FrameBitmap::Height;
    PngPicture picture;
    picture.Indices.resize(Pixels);

    // The Border text, where there is one.
    std::uint32_t textCount = 0;
    if (spng_get_text(png, nullptr, &textCount) == 0 && textCount > 0) {
        std::vector<spng_text> texts(textCount);
        if (spng_get_text(png, texts.data(), &textCount) == 0) {
            for (const auto& text : texts) {
                unsigned value = 0;
                char end = 0;
                if (std::string_view(text.keyword) == "Border" && text.length == 2 &&
                    std::sscanf(text.text, "%2X%c", &value, &end) == 1) {
                    picture.BorderText = static_cast<ColourCode>(value);
                }
            }
        }
    }

    // A palette PNG whose entries are all code colours: its order and indices as they are.
    if (header.color_type == SPNG_COLOR_TYPE_INDEXED) {
        spng_plte palette{};
        if (spng_get_plte(png, &palette) == 0 && palette.n_entries <= 16) {
            std::array<ColourCode, 16> codes{};
            bool allCodes = true;
            for (std::uint32_t i = 0; i < palette.n_entries && allCodes; ++i) {
                const auto& e = palette.entries[i];
                const std::uint32_t rgb = (std::uint32_t{e.red} << 16) | (e.green << 8) | e.blue;
                const auto code = CodeOfColour(rgb);
                allCodes = code.has_value();
                codes[i] = code.value_or(0);
            }
            if (allCodes) {
                std::size_t size = 0;
                if (spng_decoded_image_size(png, SPNG_FMT_PNG, &size) != 0) {
                    return PngRefusal{"the PNG's pixels cannot be read"};
                }
                std::vector<std::uint8_t> packed(size);
                if (const int error = spng_decode_image(png, packed.data(), size, SPNG_FMT_PNG, 0);
                    error != 0) {
                    return PngRefusal{std::string("the PNG's pixels cannot be read: ") +
                                      spng_strerror(error)};
                }
                const int depth = header.bit_depth;
                const std::size_t stride = size / FrameBitmap::Height;
                for (std::size_t y = 0; y < FrameBitmap::Height; ++y) {
                    for (std::size_t x = 0; x < FrameBitmap::Width; ++x) {
                        const std::size_t bit = x * static_cast<std::size_t>(depth);
                        const std::uint8_t byte = packed[y * stride + bit / 8];
                        const int shift = 8 - depth - static_cast<int>(bit % 8);
                        const auto index =
                            static_cast<std::uint8_t>((byte >> shift) & ((1 << depth) - 1));
                        if (index >= palette.n_entries) {
                            return PngRefusal{"pixel " + std::to_string(x) + "," +
                                              std::to_string(y) + " uses palette entry " +
                                              std::to_string(index) + ", beyond the palette"};
                        }
                        picture.Indices[y * FrameBitmap::Width + x] = index;
                    }
                }
                picture.Palette = codes;
                return picture;
            }
        }
    }

    // Any other PNG: its colours, numbered in the order the rows first show them.
    std::vector<std::uint8_t> rgba(Pixels * 4);
    if (const int error = spng_decode_image(png, rgba.data(), rgba.size(), SPNG_FMT_RGBA8, 0);
        error != 0) {
        return PngRefusal{std::string("the PNG's pixels cannot be read: ") + spng_strerror(error)};
    }
    std::unordered_map<std::uint32_t, std::uint32_t> seen; // colour -> its number
    std::vector<ColourCode> codes;                         // by number
    std::vector<std::uint32_t> numbers(Pixels);
    for (std::size_t i = 0; i < Pixels; ++i) {
        const std::uint32_t rgb = (std::uint32_t{rgba[4 * i]} << 16) |
                                  (std::uint32_t{rgba[4 * i + 1]} << 8) | rgba[4 * i + 2];
        auto [found, added] = seen.try_emplace(rgb, static_cast<std::uint32_t>(seen.size()));
        if (added) {
            const auto code =
                nearest ? std::optional<ColourCode>(NearestCode(rgb)) : CodeOfColour(rgb);
            if (!code) {
                return PngRefusal{"pixel " + std::to_string(i % FrameBitmap::Width) + "," +
                                  std::to_string(i / FrameBitmap::Width) + " has the colour " +
                                  Hex(rgb) +
                                  ", which is none of the 256 code colours (--nearest takes "
                                  "each colour to the nearest one)"};
            }
            codes.push_back(*code);
        }
        numbers[i] = found->second;
    }
    // With --nearest two colours may land on one code: they become one.
    if (!nearest && codes.size() > 16) {
        return PngRefusal{"the picture has " + std::to_string(codes.size()) +
                          " distinct colours; at most 16 fit"};
    }
    std::vector<ColourCode> distinct;
    std::vector<std::uint8_t> remap(codes.size());
    for (std::size_t c = 0; c < codes.size(); ++c) {
        auto found = std::find(distinct.begin(), distinct.end(), codes[c]);
        remap[c] = static_cast<std::uint8_t>(found - distinct.begin());
        if (found == distinct.end()) {
            distinct.push_back(codes[c]);
        }
    }
    if (distinct.size() > 16) {
        return PngRefusal{"the picture has " + std::to_string(distinct.size()) +
                          " distinct colours" + (nearest ? " after --nearest" : "") +
                          "; at most 16 fit"};
    }
    for (std::size_t i = 0; i < Pixels; ++i) {
        picture.Indices[i] = remap[numbers[i]];
    }
    std::copy(distinct.begin(), distinct.end(), picture.Palette.begin());
    return picture;
}

} // namespace kadromir
