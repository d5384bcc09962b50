#pragma once

// Where the overview's tiles lie: a grid of equal cells, each a picture at an integer
// scale on its border colour with its name under it, scrolled by rows of pixels.

#include <optional>

namespace kadromir {

// The tiles' scales: a picture at 1/4, 1/2 or 1/1 is 64, 128 or 256 pixels a side.
enum class TileScale { Quarter = 64, Half = 128, Full = 256 };
// The next scale up (+) or down (-), kept at either end.
TileScale LargerScale(TileScale scale);
TileScale SmallerScale(TileScale scale);
// The scale a stored number names: 64, 128 or 256; anything else gives Half.
TileScale TileScaleOf(int side);

struct CellBounds {
    int Left = 0, Top = 0, Width = 0, Height = 0;
    bool operator==(const CellBounds&) const = default;
};

class OverviewLayout {
  public:
    // Room around the picture within its cell: the border colour shows there.
    static constexpr int Border = 8;
    // Space between cells, and the line of the name under the picture.
    static constexpr int Gap = 8;
    static constexpr int CaptionHeight = 20;

    OverviewLayout(TileScale scale, int viewWidth, int viewHeight);

    int Side() const { return static_cast<int>(Scale); }
    int CellWidth() const { return Side() + 2 * Border; }
    int CellHeight() const { return Side() + 2 * Border + CaptionHeight; }
    int Columns() const { return ColumnCount; }
    // Whole rows that fit in the view (at least one).
    int RowsInView() const;
    // The height of every row of `count` tiles, gaps included.
    int ContentHeight(int count) const;
    // The largest scroll position for `count` tiles.
    int MaxScroll(int count) const;

    // The cell of tile `index` in view coordinates at scroll position `scroll`.
    CellBounds Cell(int index, int scroll) const;
    // The picture's square within the cell.
    CellBounds Picture(int index, int scroll) const;
    // The tile under a point of the view, if any of `count` is there.
    std::optional<int> TileAt(int x, int y, int scroll, int count) const;
    // The tiles any part of which shows at `scroll`: [first, last), within `count`.
    int FirstVisible(int scroll) const;
    int EndVisible(int scroll, int count) const;
    // The nearest scroll position to `scroll` that shows tile `index` whole (or its
    // top, where a cell is taller than the view).
    int ScrollToShow(int index, int scroll, int count) const;

  private:
    TileScale Scale;
    int ViewWidth, ViewHeight;
    int ColumnCount;
};

// The keys that move the selection.
enum class SelectionMove { Left, Right, Up, Down, Home, End, PageUp, PageDown };
// Where the selection goes from `current` among `count` tiles (held to the ends; the
// same for none).
int MovedSelection(int current, int count, const OverviewLayout& layout, SelectionMove move);

} // namespace kadromir
