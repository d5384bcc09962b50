#include "settings.h"

namespace kadromir {

void ClampSlideInterval(Settings& settings) {
    if (settings.SlideInterval > 4) {
        settings.SlideInterval = 4;
    } else if (settings.SlideInterval < 1) {
        settings.SlideInterval = 1;
    }
}

void ClampRefreshInterval(Settings& settings) {
    if (settings.AutoRefreshInterval > 50) {
        settings.AutoRefreshInterval = 50;
    } else if (settings.AutoRefreshInterval < 1) {
        settings.AutoRefreshInterval = 1;
    }
}

} // namespace kadromir
