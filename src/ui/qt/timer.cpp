// Timers on Qt: a QTimer that is a child of the form's window.
#include "ui/timer.h"

#include "form_window.h"

#include <QPointer>
#include <QTimer>

namespace kadromir::ui {
namespace {
constexpr int DefaultPeriod = 1000;
}

struct Timer::Native {
    QPointer<QTimer> Clock; // null once the owner has taken it
};

Timer::Timer(Form& owner, Kind kind, int periodMs) : Impl(std::make_unique<Native>()) {
    // Qt's precise timer ticks on the window thread already.
    QTimer* clock = new QTimer(&owner.Window());
    Impl->Clock = clock;
    clock->setTimerType(kind == Kind::Precise ? Qt::PreciseTimer : Qt::CoarseTimer);
    PeriodMs = periodMs > 0 ? periodMs : DefaultPeriod;
    clock->setInterval(PeriodMs);
    QObject::connect(clock, &QTimer::timeout, clock, [this] {
        if (OnTick) {
            OnTick();
        }
    });
}

Timer::~Timer() {
    delete Impl->Clock.data();
}

void Timer::SetPeriod(int periodMs) {
    const int period = periodMs > 0 ? periodMs : DefaultPeriod;
    if (period == PeriodMs) {
        return;
    }
    PeriodMs = period;
    QTimer* clock = Impl->Clock;
    if (clock == nullptr) {
        return;
    }
    const bool wasRunning = clock->isActive();
    clock->stop();
    clock->setInterval(PeriodMs);
    if (wasRunning) {
        clock->start();
    }
}

void Timer::Start() {
    if (Impl->Clock && !Impl->Clock->isActive()) {
        Impl->Clock->start();
    }
}

void Timer::Stop() {
    if (Impl->Clock) {
        Impl->Clock->stop();
    }
}

bool Timer::Running() const {
    return Impl->Clock && Impl->Clock->isActive();
}

int Timer::RemainingTime() const {
    return Impl->Clock ? Impl->Clock->remainingTime() : -1;
}

} // namespace kadromir::ui
