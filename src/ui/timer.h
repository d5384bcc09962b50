#pragma once

#include <functional>
#include <memory>

namespace kadromir::ui {

class Form;

// A periodic timer whose ticks arrive on the window thread. Created stopped with its
// period.
// - SetPeriod: a period of 0 or less becomes 1000 ms; the period it already has changes
//   nothing (a running timer keeps its phase); another period stops the timer and
//   starts it again if it was running.
// - Start on a running timer does nothing; Stop on a stopped one does nothing.
class Timer {
  public:
    enum class Kind {
        // Ticks as window messages: may come a little late, grouped with other timers.
        Coarse,
        // Keeps its period to the millisecond. Where the system counts such a period on
        // a thread of its own, the tick is handed to the window thread before any work.
        Precise,
    };
    // The timer belongs to `owner`: it never ticks once the owner is gone, and either
    // of the two may go first.
    Timer(Form& owner, Kind kind, int periodMs);
    ~Timer();
    Timer(const Timer&) = delete;
    Timer& operator=(const Timer&) = delete;

    void SetPeriod(int periodMs);
    int Period() const { return PeriodMs; }
    void Start();
    void Stop();
    bool Running() const;
    // Milliseconds to the next tick; -1 while stopped or once the owner has gone.
    int RemainingTime() const;

    std::function<void()> OnTick;

    // The platform's clock; each implementation of the layer defines it.
    struct Native;

  private:
    std::unique_ptr<Native> Impl;
    int PeriodMs = 1000;
};

} // namespace kadromir::ui
