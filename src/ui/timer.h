#pragma once

#include <QPointer>
#include <QTimer>

#include <functional>

namespace kadromir::ui {

// A periodic timer on the window thread. Created stopped with its period.
// - SetPeriod: a period of 0 or less becomes 1000 ms; the period it already has changes
//   nothing (a running timer keeps its phase); another period stops the timer and
//   starts it again if it was running.
// - Start on a running timer does nothing; Stop on a stopped one does nothing.
class Timer {
  public:
    // Both tick on the window thread, between events.
    enum class Kind {
        Coarse,  // may tick a little late, grouped with other timers to save wake-ups
        Precise, // keeps its period to the millisecond
    };
    // The clock is a child of `owner`, so it never ticks once the owner is gone;
    // whichever of the two goes first takes the clock with it.
    Timer(QObject& owner, Kind kind, int periodMs);
    ~Timer();
    Timer(const Timer&) = delete;
    Timer& operator=(const Timer&) = delete;

    void SetPeriod(int periodMs);
    int Period() const { return PeriodMs; }
    void Start();
    void Stop();
    bool Running() const { return Clock && Clock->isActive(); }
    // Milliseconds to the next tick; -1 while stopped.
    int RemainingTime() const { return Clock ? Clock->remainingTime() : -1; }

    std::function<void()> OnTick;

  private:
    QPointer<QTimer> Clock;
    int PeriodMs = 1000;
};

} // namespace kadromir::ui
