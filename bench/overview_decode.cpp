// Every tile of a folder decoded as the overview decodes them (the tile decoder's
// workers, each tile's pixels made and kept within the overview's budget) next to a
// floor: the same tiles decoded in a plain loop split over as many threads. Prints the
// medians of RUNS runs of each in milliseconds, then the number of tiles.
// Usage: overview_decode DIRECTORY THREADS [RUNS]
#include "app/folder_overview.h"
#include "formats/picture_formats.h"
#include "navigation/file_list.h"
#include "overview/tile_decoder.h"

#include <algorithm>
#include <atomic>
#include <chrono>
#include <condition_variable>
#include <cstdio>
#include <cstdlib>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

using namespace kadromir;

namespace {

double Since(std::chrono::steady_clock::time_point start) {
    return std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start)
        .count();
}

double PlainLoop(const std::vector<std::string>& paths, unsigned threads, int side) {
    const auto start = std::chrono::steady_clock::now();
    std::atomic<std::size_t> next{0};
    std::atomic<std::size_t> bytes{0};
    std::vector<std::thread> workers;
    for (unsigned t = 0; t < threads; ++t) {
        workers.emplace_back([&] {
            for (std::size_t i; (i = next++) < paths.size();) {
                bytes += DecodeTile(paths[i], side).Indices.size();
            }
        });
    }
    for (auto& worker : workers) {
        worker.join();
    }
    return Since(start);
}

double AsTheOverviewDoes(const std::vector<std::string>& names, const std::string& directory,
                         unsigned threads, int side) {
    std::mutex lock;
    std::condition_variable done;
    std::size_t delivered = 0;
    TileCache<DrawnTile> kept(FolderOverview::DefaultBudgetBytes);
    const auto start = std::chrono::steady_clock::now();
    {
        TileDecoder decoder(threads,
                            [&](std::uint64_t, int index, std::shared_ptr<const Tile> tile) {
                                auto drawn = std::make_shared<DrawnTile>();
                                drawn->Picture = TileImage(*tile);
                                drawn->Source = std::move(tile);
                                const std::lock_guard<std::mutex> guard(lock);
                                kept.Put(names[static_cast<std::size_t>(index)], std::move(drawn));
                                if (++delivered == names.size()) {
                                    done.notify_all();
                                }
                            });
        std::vector<TileDecoder::Job> jobs;
        for (std::size_t i = 0; i < names.size(); ++i) {
            jobs.push_back({static_cast<int>(i), directory + names[i]});
        }
        decoder.Request(1, std::move(jobs), side);
        std::unique_lock<std::mutex> guard(lock);
        done.wait(guard, [&] { return delivered == names.size(); });
    }
    return Since(start);
}

double Median(std::vector<double> values) {
    std::sort(values.begin(), values.end());
    return values[values.size() / 2];
}

} // namespace

int main(int argc, char** argv) {
    if (argc < 3) {
        std::fputs("usage: overview_decode DIRECTORY THREADS [RUNS]\n", stderr);
        return 2;
    }
    std::string directory = argv[1];
    if (directory.back() != '/') {
        directory += '/';
    }
    const auto threads = static_cast<unsigned>(std::atoi(argv[2]));
    const int runs = argc > 3 ? std::atoi(argv[3]) : 3;
    const DirectoryEntries entries = ScanAndSortDirectory(directory, SplitMasks(PictureMasks()));
    std::vector<std::string> names, paths;
    for (const DirectoryEntry entry : entries) {
        names.emplace_back(entry.Name);
        paths.push_back(directory + names.back());
    }
    constexpr int Side = 128;
    PlainLoop(paths, threads, Side); // the files in the page cache for both
    std::vector<double> floor, overview;
    for (int run = 0; run < runs; ++run) {
        floor.push_back(PlainLoop(paths, threads, Side));
        overview.push_back(AsTheOverviewDoes(names, directory, threads, Side));
    }
    std::printf("%.1f %.1f %zu\n", Median(floor), Median(overview), names.size());
    return 0;
}
