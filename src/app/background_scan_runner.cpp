#include "background_scan_runner.h"

#include <QMetaObject>

#include <thread>
#include <utility>

namespace kadromir {

BackgroundScanRunner::BackgroundScanRunner() : Box(std::make_shared<Mailbox>()) {
    Box->Receiver = &Receiver;
}

BackgroundScanRunner::~BackgroundScanRunner() {
    const std::lock_guard<std::mutex> guard(Box->Lock);
    Box->Receiver = nullptr;
}

void BackgroundScanRunner::Run(Scan scan, Done done) {
    std::thread([box = Box, scan = std::move(scan), done = std::move(done)]() mutable {
        DirectoryEntries entries = scan();
        const std::lock_guard<std::mutex> guard(box->Lock);
        if (box->Receiver != nullptr) {
            // Queued to the receiver: should it go before the event comes, Qt drops it.
            QMetaObject::invokeMethod(
                box->Receiver,
                [done = std::move(done), entries = std::move(entries)]() mutable {
                    done(std::move(entries));
                },
                Qt::QueuedConnection);
        }
    }).detach();
}

} // namespace kadromir
