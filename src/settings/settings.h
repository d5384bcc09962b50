#pragma once

#include <cstdint>
#include <string>

namespace kadromir {

// Every user setting. Starts zero-filled: flags clear, numbers 0, texts empty; there
// are no other defaults.
struct Settings {
    bool SaveWindowOnClose = false;
    bool UseFrozenGeometry = false;
    bool OpenFromRecentDir = false;
    bool RandomFromRecentDir = false;
    std::string RecentDir;
    bool OpenRecentFile = false;
    std::string RecentFile;
    bool SlideShow = false;
    std::uint8_t SlideInterval = 0; // seconds; working range 1..4
    bool RandomSlides = false;
    bool AutoRefresh = false;
    std::int32_t AutoRefreshInterval = 0; // seconds; 1..50 at start-up, 1..30 in the dialog
    // The window geometry as last read from the file; writing it leaves these alone.
    std::int32_t WindowLeft = 0;
    std::int32_t WindowTop = 0;
    std::int32_t WindowHeight = 0; // the stored value: the outer height less StoredHeightOffset
    std::int32_t WindowWidth = 0;
    // The folder overview's tile side in pixels (64, 128 or 256; anything else is
    // taken as 128), kept under a key of its own that only the overview writes.
    std::int32_t OverviewTileSide = 0;

    bool operator==(const Settings&) const = default;
};

// Into MinSlideInterval..MaxSlideInterval (setting_limits.h).
void ClampSlideInterval(Settings& settings);
// Into MinRefreshInterval..MaxRefreshIntervalAtStartup, negative values too.
void ClampRefreshInterval(Settings& settings);

} // namespace kadromir
