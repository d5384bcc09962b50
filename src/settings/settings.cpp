#include "settings.h"

#include "setting_limits.h"

namespace kadromir {

void ClampSlideInterval(Settings& settings) {
    if (settings.SlideInterval > MaxSlideInterval) {
        settings.SlideInterval = MaxSlideInterval;
    } else if (settings.SlideInterval < MinSlideInterval) {
        settings.SlideInterval = MinSlideInterval;
    }
}

void ClampRefreshInterval(Settings& settings) {
    if (settings.AutoRefreshInterval > MaxRefreshIntervalAtStartup) {
        settings.AutoRefreshInterval = MaxRefreshIntervalAtStartup;
    } else if (settings.AutoRefreshInterval < MinRefreshInterval) {
        settings.AutoRefreshInterval = MinRefreshInterval;
    }
}

} // namespace kadromir
