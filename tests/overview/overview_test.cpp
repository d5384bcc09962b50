#include "formats/load_picture.h"
#include "overview/overview_layout.h"
#include "overview/tile_cache.h"
#include "overview/tile_decoder.h"
#include "overview/type_ahead.h"
#include "picture_encoder.h"
#include "png/picture_png.h"
#include "support/temp_dir.h"

#include <gtest/gtest.h>

#include <chrono>
#include <condition_variable>
#include <fcntl.h>
#include <map>
#include <mutex>
#include <sys/stat.h>
#include <unistd.h>

namespace kadromir {
namespace {

// 1280 x 1024 at 1/2: cells of 144 x 164 with gaps of 8 give 8 columns and 5 whole rows.
TEST(OverviewLayout, CellsColumnsAndScrolling) {
    const OverviewLayout layout(TileScale::Half, 1280, 1024);
    EXPECT_EQ(layout.Columns(), 8);
    EXPECT_EQ(layout.RowsInView(), 5);
    EXPECT_EQ(layout.Cell(0, 0), (CellBounds{8, 8, 144, 164}));
    EXPECT_EQ(layout.Cell(9, 0), (CellBounds{160, 180, 144, 164}));
    EXPECT_EQ(layout.Picture(9, 100), (CellBounds{168, 88, 128, 128}));
    EXPECT_EQ(layout.ContentHeight(17), 8 + 3 * 172);
    EXPECT_EQ(layout.MaxScroll(17), 0);
    EXPECT_EQ(layout.MaxScroll(10000), 8 + 1250 * 172 - 1024);

    EXPECT_EQ(layout.TileAt(8, 8, 0, 17), 0);
    EXPECT_EQ(layout.TileAt(160 + 143, 180 + 163, 0, 17), 9);
    EXPECT_EQ(layout.TileAt(155, 20, 0, 17), std::nullopt) << "a gap";
    EXPECT_EQ(layout.TileAt(20, 8 + 2 * 172 + 10, 0, 17), 16);
    EXPECT_EQ(layout.TileAt(180, 8 + 2 * 172 + 10, 0, 17), std::nullopt) << "past the last";
    EXPECT_EQ(layout.TileAt(20, 10, 172, 17), 8) << "scrolled by a row";

    EXPECT_EQ(layout.FirstVisible(0), 0);
    EXPECT_EQ(layout.EndVisible(0, 10000), 48);
    EXPECT_EQ(layout.FirstVisible(172 * 10 + 50), 80);
    // Showing a tile scrolls as little as it can, never past either end.
    EXPECT_EQ(layout.ScrollToShow(0, 500, 10000), 0);
    EXPECT_EQ(layout.ScrollToShow(8 * 10, 0, 10000), 8 + 11 * 172 - 1024);
    EXPECT_EQ(layout.ScrollToShow(8 * 3, 0, 10000), 0) << "already in view";
    EXPECT_EQ(layout.ScrollToShow(9999, 0, 10000), layout.MaxScroll(10000));
    // A view narrower than a cell still has a column; scales step and stop at the ends.
    EXPECT_EQ(OverviewLayout(TileScale::Full, 100, 100).Columns(), 1);
    EXPECT_EQ(LargerScale(TileScale::Full), TileScale::Full);
    EXPECT_EQ(SmallerScale(TileScale::Half), TileScale::Quarter);
    EXPECT_EQ(TileScaleOf(64), TileScale::Quarter);
    EXPECT_EQ(TileScaleOf(-5), TileScale::Half);
}

TEST(OverviewLayout, SelectionMoves) {
    const OverviewLayout layout(TileScale::Half, 1280, 1024); // 8 columns, 5 rows: 40 a page
    struct Case {
        int From, Count;
        SelectionMove Move;
        int To;
    };
    const Case cases[] = {
        {0, 20, SelectionMove::Left, 0},        {0, 20, SelectionMove::Right, 1},
        {19, 20, SelectionMove::Right, 19},     {8, 20, SelectionMove::Left, 7},
        {3, 20, SelectionMove::Up, 3},          {11, 20, SelectionMove::Up, 3},
        {3, 20, SelectionMove::Down, 11},       {14, 20, SelectionMove::Down, 19},
        {17, 20, SelectionMove::Down, 17},      {5, 20, SelectionMove::Home, 0},
        {5, 20, SelectionMove::End, 19},        {5, 100, SelectionMove::PageDown, 45},
        {60, 100, SelectionMove::PageDown, 99}, {60, 100, SelectionMove::PageUp, 20},
        {13, 100, SelectionMove::PageUp, 5},    {0, 0, SelectionMove::Down, 0},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(MovedSelection(c.From, c.Count, layout, c.Move), c.To)
            << c.From << " of " << c.Count << ", move " << static_cast<int>(c.Move);
    }
}

TEST(TypeAhead, FirstLettersFindTheName) {
    const std::vector<std::string> names{"ant.rmb", "Bear.spr", "bird.spr",
                                         "Ёж.scr",  "ель.spr",  "Кот.spr"};
    const auto nameOf = [&names](int i) { return names[static_cast<std::size_t>(i)]; };
    const int count = static_cast<int>(names.size());
    TypeAhead typing;
    EXPECT_EQ(typing.Type("b", 0, 0, count, nameOf), 1);
    EXPECT_EQ(typing.Type("i", 300, 1, count, nameOf), 2) << "\"bi\"";
    EXPECT_EQ(typing.Type("x", 600, 2, count, nameOf), std::nullopt) << "\"bix\"";
    // After a pause a new name begins; one letter again and again goes round its names.
    EXPECT_EQ(typing.Type("B", 2000, 2, count, nameOf), 1);
    EXPECT_EQ(typing.Type("b", 2100, 1, count, nameOf), 2);
    EXPECT_EQ(typing.Type("b", 2200, 2, count, nameOf), 1);
    // Cyrillic, letter case aside.
    typing.Reset();
    EXPECT_EQ(typing.Type("к", 0, 0, count, nameOf), 5);
    typing.Reset();
    EXPECT_EQ(typing.Type("Е", 0, 0, count, nameOf), 4);
    EXPECT_EQ(typing.Type("л", 100, 4, count, nameOf), 4) << "\"ел\" keeps the name it is on";
    typing.Reset();
    EXPECT_EQ(typing.Type("ё", 0, 5, count, nameOf), 3);
    EXPECT_EQ(typing.Type("a", 0, 0, 0, nameOf), std::nullopt);
}

class Pictures {
  public:
    Pictures() {
        std::array<ColourCode, 16> palette{};
        for (int i = 0; i < 16; ++i) {
            palette[static_cast<std::size_t>(i)] = static_cast<ColourCode>(i * 17);
        }
        PlaneBuffer planes{};
        for (std::size_t i = 0; i < planes.size(); ++i) {
            planes[i] = static_cast<std::uint8_t>(i * 31 + i / 7);
        }
        Good = Dir.Write("good.spr", encoder::EncodeSpr(palette, planes));
        Short = Dir.Write("short.rmb", {1, 2, 3});
    }
    test_support::TempDir Dir;
    std::string Good, Short;
};

TEST(Tile, PixelsAsTheConverterSamplesThemAndRefusals) {
    const Pictures pictures;
    PictureState state;
    ASSERT_EQ(LoadPicture(pictures.Good, state), LoadOutcome::Loaded);
    for (const int side : {64, 128, 256}) {
        const Tile tile = DecodeTile(pictures.Good, side);
        EXPECT_FALSE(tile.Refused);
        EXPECT_EQ(tile.Side, side);
        EXPECT_EQ(tile.Indices, PictureIndices(state.Bitmap, side)) << side;
        EXPECT_EQ(tile.Border, ColourCodeTable::PaletteForm[state.BorderColour]);
        for (int i = 0; i < 16; ++i) {
            EXPECT_EQ(tile.Palette[static_cast<std::size_t>(i)], state.Bitmap.PaletteEntry(i));
        }
    }
    const Tile refused = DecodeTile(pictures.Short, 128);
    EXPECT_TRUE(refused.Refused);
    EXPECT_TRUE(refused.Indices.empty());
    EXPECT_EQ(refused.Refusal, "Несоответствие в заголовке!");
    const Tile missing = DecodeTile(pictures.Dir.Path() + "gone.spr", 128);
    EXPECT_TRUE(missing.Refused);
    EXPECT_EQ(missing.Refusal, "Неподходящий файл!");
}

// What a folder may hold in place of a picture gives a refusal at once: no read waits
// on a pipe with no writer or a device, and a huge sparse file is not read through.
TEST(Tile, HostileEntriesAreRefusedWithoutWaiting) {
    const Pictures pictures;
    const std::string fifo = pictures.Dir.Path() + "pipe.spr";
    ASSERT_EQ(mkfifo(fifo.c_str(), 0600), 0);
    const std::string device = pictures.Dir.Path() + "zero.rmb";
    ASSERT_EQ(symlink("/dev/zero", device.c_str()), 0);
    const std::string sparse = pictures.Dir.Path() + "huge.scr";
    {
        const int file = open(sparse.c_str(), O_WRONLY | O_CREAT, 0600);
        ASSERT_GE(file, 0);
        ASSERT_EQ(ftruncate(file, off_t{100} << 30), 0); // 100 GiB, nothing on disk
        close(file);
    }
    // A read that waited would never end here: the test's time limit fails it.
    for (const std::string& path : {fifo, device, sparse}) {
        const Tile tile = DecodeTile(path, 128);
        EXPECT_TRUE(tile.Refused) << path;
        EXPECT_TRUE(tile.Indices.empty()) << path;
    }
}

TEST(TileDecoder, DeliversEveryTileAndANewRequestReplacesTheWaitingOnes) {
    const Pictures pictures;
    std::mutex lock;
    std::condition_variable changed;
    std::map<std::pair<std::uint64_t, int>, std::shared_ptr<const Tile>> got;
    bool replaced = false;
    {
        // The first tiles wait in their delivery until the second request is in: the
        // workers hold one job each meanwhile, and the rest of the first request waits.
        TileDecoder decoder(
            2, [&](std::uint64_t generation, int index, std::shared_ptr<const Tile> tile) {
                std::unique_lock<std::mutex> guard(lock);
                changed.wait(guard, [&] { return replaced || generation != 1; });
                got[{generation, index}] = std::move(tile);
                changed.notify_all();
            });
        EXPECT_EQ(decoder.Threads(), 2u);
        std::vector<TileDecoder::Job> jobs;
        for (int i = 0; i < 200; ++i) {
            jobs.push_back({i, i % 2 == 0 ? pictures.Good : pictures.Short});
        }
        decoder.Request(1, jobs, 64);
        decoder.Request(2, {{7, pictures.Good}, {8, pictures.Short}}, 128);
        std::unique_lock<std::mutex> guard(lock);
        replaced = true;
        changed.notify_all();
        ASSERT_TRUE(changed.wait_for(guard, std::chrono::seconds(20), [&] {
            return got.count({2, 7}) != 0 && got.count({2, 8}) != 0;
        }));
        EXPECT_EQ(got.at({2, 7})->Side, 128);
        EXPECT_FALSE(got.at({2, 7})->Refused);
        EXPECT_TRUE(got.at({2, 8})->Refused);
        // Of the first request only the tiles the two workers had started came.
        std::size_t first = 0;
        for (const auto& [key, tile] : got) {
            first += key.first == 1 ? 1 : 0;
        }
        EXPECT_LE(first, 2u);
    } // the decoder goes with nothing left to wait for
}

TEST(TileCache, KeepsWithinItsBudgetTheTilesUsedLast) {
    const auto tile = [](int side) {
        auto made = std::make_shared<Tile>();
        made->Side = side;
        made->Indices.assign(static_cast<std::size_t>(side) * static_cast<std::size_t>(side), 1);
        return std::shared_ptr<const Tile>(std::move(made));
    };
    const std::size_t one = tile(64)->Bytes();
    TileCache<Tile> cache(3 * one);
    cache.Put("a", tile(64));
    cache.Put("b", tile(64));
    cache.Put("c", tile(64));
    EXPECT_TRUE(cache.Find("a")); // a is now the one used last
    cache.Put("d", tile(64));
    EXPECT_EQ(cache.Count(), 3u);
    EXPECT_FALSE(cache.Find("b")) << "the one used longest ago went";
    EXPECT_TRUE(cache.Find("a") && cache.Find("c") && cache.Find("d"));
    cache.Put("c", tile(64)); // replaced, not added
    EXPECT_EQ(cache.Bytes(), 3 * one);
    cache.Put("big", tile(256)); // over the budget alone: kept, the rest go
    EXPECT_EQ(cache.Count(), 1u);
    EXPECT_TRUE(cache.Find("big"));
    cache.Clear();
    EXPECT_EQ(cache.Bytes(), 0u);
}

} // namespace
} // namespace kadromir
