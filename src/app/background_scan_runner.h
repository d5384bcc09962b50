#pragma once

#include "navigation/scan_runner.h"

#include <QObject>

#include <memory>
#include <mutex>

namespace kadromir {

// Runs each scan on a thread of its own and hands the result back on the window
// thread, through the event loop. Nothing waits for a scan: once the runner has gone,
// a scan still under way ends on its own and its result is dropped.
class BackgroundScanRunner final : public ScanRunner {
  public:
    BackgroundScanRunner();
    ~BackgroundScanRunner() override;
    BackgroundScanRunner(const BackgroundScanRunner&) = delete;
    BackgroundScanRunner& operator=(const BackgroundScanRunner&) = delete;

    void Run(Scan scan, Done done) override;

  private:
    // What a scan's thread shares with the runner: where to hand the result, none once
    // the runner has gone.
    struct Mailbox {
        std::mutex Lock;
        QObject* Receiver = nullptr;
    };
    QObject Receiver; // lives on the window thread
    std::shared_ptr<Mailbox> Box;
};

} // namespace kadromir
