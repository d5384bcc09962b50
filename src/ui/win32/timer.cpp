// Timers on Win32: window timers for the coarse kind; for the precise kind a
// timer-queue timer, whose tick arrives on a pool thread and is handed to the window
// thread as a message before any work.
#include "ui/timer.h"

#include "form_window.h"
#include "message_window.h"

#include <atomic>

namespace kadromir::ui {
namespace {
constexpr UINT PreciseTick = WM_APP + 1;
constexpr UINT_PTR CoarseId = 1;
} // namespace

struct Timer::Native {
    Native(Timer& timer, Form& owner, Kind kind)
        : Owner(owner.Window().AliveToken()), Which(kind),
          Messages([&timer, this](UINT message, WPARAM, LPARAM) {
              if (!Running || Owner.expired()) {
                  return;
              }
              if (message == PreciseTick) {
                  Pending = false;
              }
              LastTick = GetTickCount64();
              if (timer.OnTick) {
                  timer.OnTick();
              }
          }) {}
    ~Native() { Halt(); }

    static void CALLBACK Fire(void* self, BOOLEAN) {
        auto* native = static_cast<Native*>(self);
        // One tick waits at a time: a slow window thread gets no queue of them.
        if (!native->Pending.exchange(true)) {
            PostMessageW(native->Messages.Handle(), PreciseTick, 0, 0);
        }
    }
    void Begin(int period) {
        Running = true;
        LastTick = GetTickCount64();
        if (Which == Kind::Coarse) {
            SetTimer(Messages.Handle(), CoarseId, static_cast<UINT>(period), nullptr);
        } else {
            Pending = false;
            CreateTimerQueueTimer(&Queued, nullptr, &Native::Fire, this, static_cast<DWORD>(period),
                                  static_cast<DWORD>(period), WT_EXECUTEDEFAULT);
        }
    }
    void Halt() {
        Running = false;
        if (Which == Kind::Coarse) {
            KillTimer(Messages.Handle(), CoarseId);
        } else if (Queued != nullptr) {
            // Waits for a tick being counted on the pool thread.
            DeleteTimerQueueTimer(nullptr, Queued, INVALID_HANDLE_VALUE);
            Queued = nullptr;
        }
    }

    std::weak_ptr<const bool> Owner;
    Kind Which;
    MessageWindow Messages;
    HANDLE Queued = nullptr;
    std::atomic<bool> Pending{false};
    bool Running = false;
    ULONGLONG LastTick = 0;
};

Timer::Timer(Form& owner, Kind kind, int periodMs)
    : Impl(std::make_unique<Native>(*this, owner, kind)), PeriodMs(periodMs > 0 ? periodMs : 1000) {
}

Timer::~Timer() = default;

void Timer::SetPeriod(int periodMs) {
    const int period = periodMs > 0 ? periodMs : 1000;
    if (period == PeriodMs) {
        return;
    }
    PeriodMs = period;
    if (Impl->Running) {
        Impl->Halt();
        Impl->Begin(PeriodMs);
    }
}

void Timer::Start() {
    if (!Impl->Running && !Impl->Owner.expired()) {
        Impl->Begin(PeriodMs);
    }
}

void Timer::Stop() {
    if (Impl->Running) {
        Impl->Halt();
    }
}

bool Timer::Running() const {
    return Impl->Running && !Impl->Owner.expired();
}

int Timer::RemainingTime() const {
    if (!Running()) {
        return -1;
    }
    const ULONGLONG since = GetTickCount64() - Impl->LastTick;
    return since >= static_cast<ULONGLONG>(PeriodMs) ? 0 : PeriodMs - static_cast<int>(since);
}

} // namespace kadromir::ui
