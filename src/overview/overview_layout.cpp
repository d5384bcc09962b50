#include "overview_layout.h"

#include <algorithm>

namespace kadromir {

TileScale LargerScale(TileScale scale) {
    return scale == TileScale::Quarter ? TileScale::Half : TileScale::Full;
}

TileScale SmallerScale(TileScale scale) {
    return scale == TileScale::Full ? TileScale::Half : TileScale::Quarter;
}

TileScale TileScaleOf(int side) {
    switch (side) {
    case 64:
        return TileScale::Quarter;
    case 256:
        return TileScale::Full;
    default:
        return TileScale::Half;
    }
}

OverviewLayout::OverviewLayout(TileScale scale, int viewWidth, int viewHeight)
    : Scale(scale), ViewWidth(std::max(viewWidth, 0)), ViewHeight(std::max(viewHeight, 0)),
      ColumnCount(std::max(1, (ViewWidth - Gap) / (CellWidth() + Gap))) {}

int OverviewLayout::RowsInView() const {
    return std::max(1, (ViewHeight - Gap) / (CellHeight() + Gap));
}

int OverviewLayout::ContentHeight(int count) const {
    const int rows = (std::max(count, 0) + ColumnCount - 1) / ColumnCount;
    return Gap + rows * (CellHeight() + Gap);
}

int OverviewLayout::MaxScroll(int count) const {
    return std::max(0, ContentHeight(count) - ViewHeight);
}

CellBounds OverviewLayout::Cell(int index, int scroll) const {
    const int row = index / ColumnCount, column = index % ColumnCount;
    return {Gap + column * (CellWidth() + Gap), Gap + row * (CellHeight() + Gap) - scroll,
            CellWidth(), CellHeight()};
}

CellBounds OverviewLayout::Picture(int index, int scroll) const {
    const CellBounds cell = Cell(index, scroll);
    return {cell.Left + Border, cell.Top + Border, Side(), Side()};
}

std::optional<int> OverviewLayout::TileAt(int x, int y, int scroll, int count) const {
    const int contentY = y + scroll - Gap;
    const int contentX = x - Gap;
    if (contentX < 0 || contentY < 0) {
        return std::nullopt;
    }
    const int column = contentX / (CellWidth() + Gap), row = contentY / (CellHeight() + Gap);
    if (column >= ColumnCount || contentX % (CellWidth() + Gap) >= CellWidth() ||
        contentY % (CellHeight() + Gap) >= CellHeight()) {
        return std::nullopt; // a gap
    }
    const int index = row * ColumnCount + column;
    return index < count ? std::optional<int>(index) : std::nullopt;
}

int OverviewLayout::FirstVisible(int scroll) const {
    const int row = std::max(0, (scroll - Gap) / (CellHeight() + Gap));
    return row * ColumnCount;
}

int OverviewLayout::EndVisible(int scroll, int count) const {
    const int lastRow = std::max(0, (scroll + ViewHeight - Gap) / (CellHeight() + Gap));
    return std::clamp((lastRow + 1) * ColumnCount, 0, std::max(count, 0));
}

int OverviewLayout::ScrollToShow(int index, int scroll, int count) const {
    const int top = Cell(index, 0).Top - Gap;
    const int bottom = Cell(index, 0).Top + CellHeight() + Gap;
    int shown = scroll;
    if (bottom > scroll + ViewHeight) {
        shown = bottom - ViewHeight;
    }
    if (top < shown) {
        shown = top;
    }
    return std::clamp(shown, 0, MaxScroll(count));
}

int MovedSelection(int current, int count, const OverviewLayout& layout, SelectionMove move) {
    if (count <= 0) {
        return current;
    }
    const int columns = layout.Columns();
    const int page = layout.RowsInView() * columns;
    int next = current;
    switch (move) {
    case SelectionMove::Left:
        next = current - 1;
        break;
    case SelectionMove::Right:
        next = current + 1;
        break;
    case SelectionMove::Up:
        next = current - columns >= 0 ? current - columns : current;
        break;
    case SelectionMove::Down:
        // Down from the row above the last, short row lands on its last tile.
        next = current + columns < count                   ? current + columns
               : current / columns < (count - 1) / columns ? count - 1
                                                           : current;
        break;
    case SelectionMove::Home:
        next = 0;
        break;
    case SelectionMove::End:
        next = count - 1;
        break;
    case SelectionMove::PageUp:
        next = current - page;
        break;
    case SelectionMove::PageDown:
        next = current + page;
        break;
    }
    if (move == SelectionMove::PageUp && next < 0) {
        next = current % columns; // the same column in the first row
    }
    if (move == SelectionMove::PageDown && next >= count) {
        next = count - 1;
    }
    return std::clamp(next, 0, count - 1);
}

} // namespace kadromir
