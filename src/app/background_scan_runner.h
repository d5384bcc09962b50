#pragma once

#include "navigation/scan_runner.h"
#include "ui/window_thread.h"

namespace kadromir {

// Runs each scan on a thread of its own and hands the result back on the window
// thread, between events. Nothing waits for a scan: once the runner has gone, a scan
// still under way ends on its own and its result is dropped.
class BackgroundScanRunner final : public ScanRunner {
  public:
    BackgroundScanRunner() = default;
    BackgroundScanRunner(const BackgroundScanRunner&) = delete;
    BackgroundScanRunner& operator=(const BackgroundScanRunner&) = delete;

    void Run(Scan scan, Done done) override;

  private:
    ui::WindowThreadMailbox Mailbox;
};

} // namespace kadromir
