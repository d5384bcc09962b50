#pragma once

#include "file_list.h"

#include <functional>

namespace kadromir {

// Where the navigator's directory scans run. The plain form runs each at once; the
// application's runs them on a worker thread, so that a large directory never stalls
// the window, and hands each result back on the window thread.
class ScanRunner {
  public:
    using Scan = std::function<DirectoryEntries()>;
    using Done = std::function<void(DirectoryEntries)>;
    virtual ~ScanRunner() = default;
    // Runs `scan`, then `done` with its result on the window thread. A result that
    // arrives after the runner has gone is dropped.
    virtual void Run(Scan scan, Done done) = 0;
};

// Runs each scan at once, on the caller's thread.
class ImmediateScanRunner final : public ScanRunner {
  public:
    void Run(Scan scan, Done done) override { done(scan()); }
};

} // namespace kadromir
