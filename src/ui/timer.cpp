#include "timer.h"

namespace kadromir::ui {
namespace {
constexpr int DefaultPeriod = 1000;
}

Timer::Timer(QObject& owner, Kind kind, int periodMs) : Clock(new QTimer(&owner)) {
    Clock->setTimerType(kind == Kind::Precise ? Qt::PreciseTimer : Qt::CoarseTimer);
    PeriodMs = periodMs > 0 ? periodMs : DefaultPeriod;
    Clock->setInterval(PeriodMs);
    QObject::connect(Clock, &QTimer::timeout, Clock, [this] {
        if (OnTick) {
            OnTick();
        }
    });
}

Timer::~Timer() {
    delete Clock; // null once the owner has taken it
}

void Timer::SetPeriod(int periodMs) {
    const int period = periodMs > 0 ? periodMs : DefaultPeriod;
    if (period == PeriodMs) {
        return;
    }
    PeriodMs = period;
    if (!Clock) {
        return;
    }
    const bool wasRunning = Clock->isActive();
    Clock->stop();
    Clock->setInterval(PeriodMs);
    if (wasRunning) {
        Clock->start();
    }
}

void Timer::Start() {
    if (Clock && !Clock->isActive()) {
        Clock->start();
    }
}

void Timer::Stop() {
    if (Clock) {
        Clock->stop();
    }
}

} // namespace kadromir::ui
