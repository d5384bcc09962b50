#include "folder_overview.h"

#include "base/code_pages.h"
#include "overview/tile_decoder.h"
#include "ui/paint_box.h"

#include <algorithm>

namespace kadromir {
namespace {

constexpr std::uint32_t Opaque = 0xFF000000u;
// The selection's frame lies in the gap around its cell.
constexpr int SelectionWidth = 3;

// The bytes a kept tile of `side` takes, near enough to size the look-ahead.
std::size_t TileBytesAt(int side) {
    const auto pixels = static_cast<std::size_t>(side) * static_cast<std::size_t>(side);
    return pixels * (1 + sizeof(std::uint32_t)) + sizeof(DrawnTile) + sizeof(Tile);
}

ui::Rect RectOf(const CellBounds& bounds) {
    return {bounds.Left, bounds.Top, bounds.Width, bounds.Height};
}

// A frame `width` wide just inside `box`.
void DrawFrame(ui::Canvas& canvas, const ui::Rect& box, int width, std::uint32_t colour) {
    canvas.FillRect({box.Left, box.Top, box.Width, width}, colour);
    canvas.FillRect({box.Left, box.Top + box.Height - width, box.Width, width}, colour);
    canvas.FillRect({box.Left, box.Top, width, box.Height}, colour);
    canvas.FillRect({box.Left + box.Width - width, box.Top, width, box.Height}, colour);
}

} // namespace

ui::Image TileImage(const Tile& tile) {
    ui::Image image;
    if (tile.Refused || tile.Side <= 0) {
        return image;
    }
    image.Width = image.Height = tile.Side;
    image.Pixels.resize(tile.Indices.size());
    for (std::size_t i = 0; i < tile.Indices.size(); ++i) {
        image.Pixels[i] = Opaque | tile.Palette[tile.Indices[i] & 0x0F];
    }
    return image;
}

FolderOverview::FolderOverview(ui::PaintBox& area, Host host, std::size_t budgetBytes,
                               unsigned threads)
    : Area(area), Owner(std::move(host)), ThreadCount(threads), Kept(budgetBytes) {}

FolderOverview::~FolderOverview() = default;

std::string FolderOverview::NameOf(std::size_t index) const {
    return std::string(Entries[index].Name);
}

std::optional<std::size_t> FolderOverview::Selected() const {
    if (Entries.empty()) {
        return std::nullopt;
    }
    return static_cast<std::size_t>(Selection);
}

std::string FolderOverview::TitleLine() const {
    const auto selected = Selected();
    const std::string position = selected ? std::to_string(*selected + 1) : "0";
    return "Кадромир : " + position + "/" + std::to_string(Entries.size()) + "  " +
           (selected ? ReadableName(NameOf(*selected)) : std::string());
}

void FolderOverview::Show(const DirectoryEntries& list, const std::string& directory,
                          std::optional<std::size_t> current) {
    if (!Decoder) {
        Decoder = std::make_unique<TileDecoder>(
            ThreadCount, [this, address = Mailbox.Here()](std::uint64_t generation, int index,
                                                          std::shared_ptr<const Tile> tile) {
                // The pixels are made here, off the window thread.
                auto drawn = std::make_shared<DrawnTile>();
                drawn->Picture = TileImage(*tile);
                drawn->Source = std::move(tile);
                address.Post([this, generation, index, drawn = std::move(drawn)] {
                    Delivered(generation, index, drawn);
                });
            });
    }
    if (directory != Directory) {
        Kept.Clear();
        Scroll = 0;
    }
    Entries = list;
    Directory = directory;
    ++Generation;
    IsShown = true;
    Typing.Reset();
    Grid = OverviewLayout(CurrentScale, Area.Bounds().Width, Area.Bounds().Height);
    Selection = current && *current < Entries.size() ? static_cast<int>(*current) : 0;
    Changed();
}

void FolderOverview::Hide() {
    IsShown = false;
    if (Decoder) {
        Decoder->Request(Generation, {}, Grid.Side());
    }
}

void FolderOverview::ListChanged(const DirectoryEntries& list, const std::string& directory) {
    if (!IsShown) {
        return;
    }
    std::string name, lowerName;
    if (const auto selected = Selected()) {
        name = std::string(Entries[*selected].Name);
        lowerName = std::string(Entries[*selected].LowerName);
    }
    if (directory != Directory) {
        Kept.Clear();
    }
    Entries = list;
    Directory = directory;
    ++Generation;
    // Its own file, else the one now in its place in the list's order (the last when
    // it stood after every one).
    const DirectoryEntry was{name, lowerName};
    int found = 0;
    while (found < Count() && SortsBefore(Entries[static_cast<std::size_t>(found)], was)) {
        ++found;
    }
    Selection = std::clamp(found, 0, std::max(Count() - 1, 0));
    Scroll = std::min(Scroll, Grid.MaxScroll(Count()));
    Changed();
    RequestTiles(true);
}

void FolderOverview::Changed() {
    if (!IsShown) {
        return;
    }
    if (Count() > 0) {
        Scroll = Grid.ScrollToShow(Selection, Scroll, Count());
    } else {
        Scroll = 0;
    }
    if (Owner.SetTitle) {
        Owner.SetTitle(TitleLine());
    }
    RequestTiles();
    Area.Repaint();
}

void FolderOverview::Select(int index) {
    if (Count() == 0) {
        return;
    }
    Selection = std::clamp(index, 0, Count() - 1);
    Changed();
}

void FolderOverview::MoveBy(int step) {
    Select(Selection + step);
}

void FolderOverview::SetScale(TileScale scale) {
    if (scale == CurrentScale) {
        return;
    }
    CurrentScale = scale;
    // Tiles of another side are of no more use: their room goes to the new ones.
    Kept.Clear();
    ++Generation;
    Grid = OverviewLayout(CurrentScale, Area.Bounds().Width, Area.Bounds().Height);
    Changed();
}

void FolderOverview::Resized() {
    if (!IsShown) {
        return;
    }
    Grid = OverviewLayout(CurrentScale, Area.Bounds().Width, Area.Bounds().Height);
    Scroll = std::min(Scroll, Grid.MaxScroll(Count()));
    Changed();
}

void FolderOverview::ScrollTo(int position) {
    const int placed = std::clamp(position, 0, Grid.MaxScroll(Count()));
    if (placed != Scroll) {
        Scroll = placed;
        RequestTiles();
        Area.Repaint();
    }
}

bool FolderOverview::KeyDown(const ui::KeyEvent& key, std::int64_t nowMs) {
    if (key.Modifiers & (ui::ControlHeld | ui::AltHeld)) {
        return false;
    }
    static constexpr std::pair<int, SelectionMove> Moves[] = {
        {ui::Key::Left, SelectionMove::Left},     {ui::Key::Right, SelectionMove::Right},
        {ui::Key::Up, SelectionMove::Up},         {ui::Key::Down, SelectionMove::Down},
        {ui::Key::Home, SelectionMove::Home},     {ui::Key::End, SelectionMove::End},
        {ui::Key::PageUp, SelectionMove::PageUp}, {ui::Key::PageDown, SelectionMove::PageDown},
    };
    for (const auto& [code, move] : Moves) {
        if (key.Key == code) {
            Typing.Reset();
            Select(MovedSelection(Selection, Count(), Grid, move));
            return true;
        }
    }
    // Space and Backspace belong to a name being typed, and to nothing else here.
    if (key.Key == ui::Key::Space || key.Key == ui::Key::Backspace) {
        if (key.Key == ui::Key::Backspace || !Typing.Typing(nowMs)) {
            Typing.Reset();
        }
        return true;
    }
    return false;
}

void FolderOverview::Typed(const std::string& text, std::int64_t nowMs) {
    // + and - scale, unless they continue a name being typed.
    if (!Typing.Typing(nowMs) && (text == "+" || text == "=" || text == "-")) {
        SetScale(text == "-" ? SmallerScale(CurrentScale) : LargerScale(CurrentScale));
        if (Owner.ScaleChosen) {
            Owner.ScaleChosen(CurrentScale);
        }
        return;
    }
    if (text == " " && !Typing.Typing(nowMs)) {
        return;
    }
    const auto found = Typing.Type(text, nowMs, Selection, Count(), [this](int index) {
        return ReadableName(NameOf(static_cast<std::size_t>(index)));
    });
    if (found) {
        Select(*found);
    }
}

void FolderOverview::Click(const ui::Point& at) {
    if (const auto index = Grid.TileAt(at.X, at.Y, Scroll, Count())) {
        Typing.Reset();
        Select(*index);
    }
}

void FolderOverview::DoubleClick(const ui::Point& at) {
    if (const auto index = Grid.TileAt(at.X, at.Y, Scroll, Count())) {
        Selection = *index;
        OpenSelected();
    }
}

void FolderOverview::Wheel(int notches) {
    ScrollTo(Scroll - notches * (Grid.CellHeight() + OverviewLayout::Gap));
}

void FolderOverview::OpenSelected() {
    if (const auto selected = Selected(); selected && Owner.Open) {
        Owner.Open(Directory + NameOf(*selected));
    }
}

std::shared_ptr<const DrawnTile> FolderOverview::KeptTile(std::size_t index) {
    return index < Entries.size() ? Kept.Find(NameOf(index)) : nullptr;
}

void FolderOverview::RequestTiles(bool renewInView) {
    if (!Decoder) {
        return;
    }
    std::vector<TileDecoder::Job> jobs;
    if (IsShown && Count() > 0) {
        const int first = Grid.FirstVisible(Scroll);
        const int end = Grid.EndVisible(Scroll, Count());
        // Those in view, then the rows after and before them in turn, while half the
        // budget lasts: the other half keeps what was seen last.
        const auto room = static_cast<int>(std::min<std::size_t>(
            Kept.Budget() / 2 / TileBytesAt(Grid.Side()), static_cast<std::size_t>(Count())));
        const auto want = [&](int index, bool renew = false) {
            const std::string name = NameOf(static_cast<std::size_t>(index));
            if (renew || !Kept.Find(name)) {
                jobs.push_back({index, Directory + name});
            }
        };
        for (int i = first; i < end; ++i) {
            want(i, renewInView);
        }
        int after = end, before = first - 1;
        for (int taken = end - first; taken < room && (after < Count() || before >= 0);) {
            if (after < Count()) {
                want(after++);
                ++taken;
            }
            if (before >= 0 && taken < room) {
                want(before--);
                ++taken;
            }
        }
    }
    Decoder->Request(Generation, std::move(jobs), Grid.Side());
}

void FolderOverview::Delivered(std::uint64_t generation, int index,
                               std::shared_ptr<const DrawnTile> tile) {
    if (generation != Generation || index < 0 || index >= Count()) {
        return;
    }
    Kept.Put(NameOf(static_cast<std::size_t>(index)), std::move(tile));
    if (!IsShown || index < Grid.FirstVisible(Scroll) ||
        index >= Grid.EndVisible(Scroll, Count())) {
        return;
    }
    // One paint for the tiles that came together.
    if (!PaintPosted) {
        PaintPosted = true;
        Mailbox.Here().Post([this] {
            PaintPosted = false;
            if (IsShown) {
                Area.Repaint();
            }
        });
    }
}

void FolderOverview::Paint(ui::Canvas& canvas) {
    const ui::Rect area = Area.Bounds();
    canvas.FillRect({0, 0, area.Width, area.Height}, OverviewColour::Ground);
    const int end = Grid.EndVisible(Scroll, Count());
    for (int i = Grid.FirstVisible(Scroll); i < end; ++i) {
        const std::string name = NameOf(static_cast<std::size_t>(i));
        const ui::Rect cell = RectOf(Grid.Cell(i, Scroll));
        const ui::Rect picture = RectOf(Grid.Picture(i, Scroll));
        const int tileHeight = Grid.Side() + 2 * OverviewLayout::Border;
        const ui::Rect tileBox{cell.Left, cell.Top, cell.Width, tileHeight};
        const ui::Rect nameBox{cell.Left, cell.Top + tileHeight, cell.Width,
                               OverviewLayout::CaptionHeight};
        const bool selected = i == Selection;
        if (selected) {
            DrawFrame(canvas,
                      {cell.Left - SelectionWidth, cell.Top - SelectionWidth,
                       cell.Width + 2 * SelectionWidth, cell.Height + 2 * SelectionWidth},
                      SelectionWidth, OverviewColour::Selection);
            canvas.FillRect(nameBox, OverviewColour::Selection);
        }
        const auto kept = Kept.Find(name);
        if (!kept) {
            // Not decoded yet: an empty frame, filled in when the tile comes.
            DrawFrame(canvas, picture, 1, OverviewColour::Pending);
        } else if (kept->Source->Refused) {
            canvas.FillRect(tileBox, OverviewColour::Refused);
            canvas.DrawCaption(picture, kept->Source->Refusal, OverviewColour::RefusalText);
        } else {
            canvas.FillRect(tileBox, Opaque | kept->Source->Border);
            canvas.StretchDraw(kept->Picture, picture);
        }
        canvas.DrawCaption(nameBox, ReadableName(name),
                           selected ? OverviewColour::SelectedName : OverviewColour::Name);
    }
}

} // namespace kadromir
