#include "tile_decoder.h"

namespace kadromir {

TileDecoder::TileDecoder(unsigned threads, Delivery deliver) : Deliver(std::move(deliver)) {
    const unsigned count =
        threads != 0 ? threads : std::max(1u, std::thread::hardware_concurrency());
    for (unsigned i = 0; i < count; ++i) {
        Workers.emplace_back([this] { Work(); });
    }
}

TileDecoder::~TileDecoder() {
    {
        const std::lock_guard<std::mutex> guard(Lock);
        Stopping = true;
        Queue.clear();
    }
    Waiting.notify_all();
    for (std::thread& worker : Workers) {
        worker.join();
    }
}

void TileDecoder::Request(std::uint64_t generation, std::vector<Job> jobs, int side) {
    {
        const std::lock_guard<std::mutex> guard(Lock);
        Generation = generation;
        Side = side;
        Queue.assign(std::make_move_iterator(jobs.begin()), std::make_move_iterator(jobs.end()));
    }
    Waiting.notify_all();
}

void TileDecoder::Work() {
    for (;;) {
        Job job;
        std::uint64_t generation = 0;
        int side = 0;
        {
            std::unique_lock<std::mutex> guard(Lock);
            Waiting.wait(guard, [this] { return Stopping || !Queue.empty(); });
            if (Stopping) {
                return;
            }
            job = std::move(Queue.front());
            Queue.pop_front();
            generation = Generation;
            side = Side;
        }
        auto tile = std::make_shared<const Tile>(DecodeTile(job.Path, side));
        Deliver(generation, job.Index, std::move(tile));
    }
}

} // namespace kadromir
