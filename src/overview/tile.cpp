#include "tile.h"

#include "formats/colour_code.h"
#include "formats/load_picture.h"
#include "png/picture_png.h"

#include <algorithm>

namespace kadromir {

Tile DecodeTile(const std::string& path, int side) {
    Tile tile;
    tile.Side = side;
    PictureState state;
    const LoadOutcome outcome = LoadPicture(path, state);
    if (outcome != LoadOutcome::Loaded) {
        tile.Refused = true;
        const std::string& message = state.LoadMessage;
        tile.Refusal = message.substr(std::min(message.size(), message.find_first_not_of(" -")));
        return tile;
    }
    tile.Indices = PictureIndices(state.Bitmap, side);
    for (int i = 0; i < FrameBitmap::PaletteSize; ++i) {
        tile.Palette[static_cast<std::size_t>(i)] = state.Bitmap.PaletteEntry(i);
    }
    tile.Border = ColourCodeTable::PaletteForm[state.BorderColour];
    return tile;
}

} // namespace kadromir
