#pragma once

// Tiles decoded on worker threads, one a core: the ones asked for first come first, a
// new request replaces what is still waiting, and nothing waits for a file (the reads
// are bounded and never block).

#include "tile.h"

#include <condition_variable>
#include <cstdint>
#include <deque>
#include <functional>
#include <memory>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

namespace kadromir {

class TileDecoder {
  public:
    struct Job {
        int Index = 0;
        std::string Path;
    };
    // Runs on a worker thread with each tile decoded for `generation`.
    using Delivery =
        std::function<void(std::uint64_t generation, int index, std::shared_ptr<const Tile> tile)>;

    // `threads` workers (the machine's cores for 0).
    TileDecoder(unsigned threads, Delivery deliver);
    // Waits only for the tiles being decoded now; what waits is dropped.
    ~TileDecoder();
    TileDecoder(const TileDecoder&) = delete;
    TileDecoder& operator=(const TileDecoder&) = delete;

    // Decodes `jobs` in their order at `side` pixels, in place of every job still
    // waiting.
    void Request(std::uint64_t generation, std::vector<Job> jobs, int side);
    unsigned Threads() const { return static_cast<unsigned>(Workers.size()); }

  private:
    void Work();

    Delivery Deliver;
    std::mutex Lock;
    std::condition_variable Waiting;
    std::deque<Job> Queue;
    std::uint64_t Generation = 0;
    int Side = 0;
    bool Stopping = false;
    std::vector<std::thread> Workers;
};

} // namespace kadromir
