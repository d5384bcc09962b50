#pragma once

// The folder overview in the drawing area: every picture of the list as a tile, the
// selection and its keys, the tiles decoded on worker threads (those in view first)
// and kept within a budget. Only the window thread calls it.

#include "navigation/file_list.h"
#include "overview/overview_layout.h"
#include "overview/tile.h"
#include "overview/tile_cache.h"
#include "overview/type_ahead.h"
#include "ui/geometry.h"
#include "ui/keys.h"
#include "ui/window_thread.h"

#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <string>

namespace kadromir {

namespace ui {
class Canvas;
class PaintBox;
} // namespace ui

class TileDecoder;

// A tile as the window draws it: the decoder's result and its pixels, made once.
struct DrawnTile {
    std::shared_ptr<const Tile> Source;
    ui::Image Picture;
    std::size_t Bytes() const {
        return Source->Bytes() + sizeof(DrawnTile) + Picture.Pixels.size() * sizeof(std::uint32_t);
    }
};
// The tile's pixels as the window draws them (empty for a refusal).
ui::Image TileImage(const Tile& tile);

// The overview's colours (0xFFRRGGBB): its ground, a tile not decoded yet (a frame),
// a refused file's tile, the selection's frame, the names.
namespace OverviewColour {
inline constexpr std::uint32_t Ground = 0xFF202020;
inline constexpr std::uint32_t Pending = 0xFF56566E;
inline constexpr std::uint32_t Refused = 0xFF3C3C3C;
inline constexpr std::uint32_t RefusalText = 0xFFE6E6E6;
inline constexpr std::uint32_t Selection = 0xFF3D8EF0;
inline constexpr std::uint32_t Name = 0xFFD0D0D0;
inline constexpr std::uint32_t SelectedName = 0xFFFFFFFF;
} // namespace OverviewColour

class FolderOverview {
  public:
    // What the overview asks of the window around it.
    struct Host {
        std::function<void(const std::string& title)> SetTitle;
        // Opens the picture file at the path in the picture view.
        std::function<void(const std::string& path)> Open;
        // The user chose another scale (to be remembered).
        std::function<void(TileScale scale)> ScaleChosen;
    };
    // The tiles kept take at most this much.
    static constexpr std::size_t DefaultBudgetBytes = std::size_t{40} << 20;

    // `threads` decode (the machine's cores for 0), started on the first Show.
    FolderOverview(ui::PaintBox& area, Host host, std::size_t budgetBytes = DefaultBudgetBytes,
                   unsigned threads = 0);
    ~FolderOverview();
    FolderOverview(const FolderOverview&) = delete;
    FolderOverview& operator=(const FolderOverview&) = delete;

    bool Shown() const { return IsShown; }
    // Shows the entries of `directory` (its delimiter included) with `current` selected
    // and in view (the first without one).
    void Show(const DirectoryEntries& list, const std::string& directory,
              std::optional<std::size_t> current);
    // Nothing more is decoded; what is kept stays for the next Show.
    void Hide();
    // A new list of the directory: the selection stays on its file, or goes to the one
    // that now stands where it stood.
    void ListChanged(const DirectoryEntries& list, const std::string& directory);

    void Paint(ui::Canvas& canvas);
    // The area's size changed.
    void Resized();
    // A key pressed while shown; whether the overview took it.
    bool KeyDown(const ui::KeyEvent& key, std::int64_t nowMs);
    // Text typed while shown (`nowMs` on a steady clock): a name's first letters, or +
    // and - for the scale.
    void Typed(const std::string& text, std::int64_t nowMs);
    void Click(const ui::Point& at);
    void DoubleClick(const ui::Point& at);
    void Wheel(int notches);
    // Opens the selected picture through the host.
    void OpenSelected();
    // Moves the selection by `step` places, held at the ends.
    void MoveBy(int step);

    TileScale Scale() const { return CurrentScale; }
    void SetScale(TileScale scale);
    std::optional<std::size_t> Selected() const;
    int ScrollPosition() const { return Scroll; }
    const OverviewLayout& Layout() const { return Grid; }
    // What the title says for the selection: "Кадромир : 3/12  CAT.SPR".
    std::string TitleLine() const;
    // The kept tile of entry `index`, if decoded.
    std::shared_ptr<const DrawnTile> KeptTile(std::size_t index);

  private:
    void Select(int index);
    // The selection in view, the title, the decoding asked for, a paint.
    void Changed();
    void ScrollTo(int position);
    // Asks the decoder for the tiles in view, then those around them, that are not kept;
    // with `renewInView`, those in view again too (a file may have changed under its
    // name), the kept ones shown until the new ones come.
    void RequestTiles(bool renewInView = false);
    void Delivered(std::uint64_t generation, int index, std::shared_ptr<const DrawnTile> tile);
    std::string NameOf(std::size_t index) const;
    int Count() const { return static_cast<int>(Entries.size()); }

    ui::PaintBox& Area;
    Host Owner;
    unsigned ThreadCount;
    bool IsShown = false;
    DirectoryEntries Entries;
    std::string Directory;
    TileScale CurrentScale = TileScale::Half;
    OverviewLayout Grid{TileScale::Half, 0, 0};
    int Selection = 0;
    int Scroll = 0;
    TypeAhead Typing;
    TileCache<DrawnTile> Kept;
    // Tiles of an older list or scale are dropped when they come.
    std::uint64_t Generation = 1;
    bool PaintPosted = false;
    // Declared before the decoder: the workers are joined before it goes.
    ui::WindowThreadMailbox Mailbox;
    std::unique_ptr<TileDecoder> Decoder;
};

} // namespace kadromir
