#include "background_scan_runner.h"

#include <memory>
#include <thread>
#include <utility>

namespace kadromir {

void BackgroundScanRunner::Run(Scan scan, Done done) {
    std::thread([to = Mailbox.Here(), scan = std::move(scan), done = std::move(done)]() mutable {
        // The list goes across whole, never copied.
        auto entries = std::make_shared<DirectoryEntries>(scan());
        to.Post([done = std::move(done), entries] { done(std::move(*entries)); });
    }).detach();
}

} // namespace kadromir
