#pragma once

#include <cstdint>

namespace kadromir {

// The bounds the settings keep to, each named once: the record's clamps, the dialog's
// spin fields and texts, and the window placement all take them from here.

// Seconds between slides.
inline constexpr int MinSlideInterval = 1;
inline constexpr int MaxSlideInterval = 4;
// Seconds between rescans: start-up takes up to 50, the dialog offers up to 30.
inline constexpr int MinRefreshInterval = 1;
inline constexpr int MaxRefreshIntervalAtStartup = 50;
inline constexpr int MaxRefreshIntervalInDialog = 30;
// The file holds the window's outer height less this (the Windows form's own files too).
inline constexpr int StoredHeightOffset = 29;
// A stored height below this is no geometry at all.
inline constexpr int MinimumStoredHeight = 20;

} // namespace kadromir
