#pragma once

#include "setting_limits.h"
#include "settings.h"
#include "settings_store.h"
#include "window_geometry.h"

#include <string>

namespace kadromir {

inline constexpr const char* SettingsSection = "Настройки";
// Beside the twelve: written when the overview's scale changes, never made by a load.
inline constexpr const char* OverviewScaleKey = "Масштаб обзора";

// Reads every setting (creating the file from the record when there is none), then
// places the window: at the stored position and size when a coordinate flag is set
// and the stored height is at least 20 (the outer height is the stored one plus
// StoredHeightOffset), else centred 15 pixels above the middle.
void LoadSettings(Settings& settings, const std::string& configPath, WindowGeometry& window,
                  const ChunkWriter& writer = WriteAllBytes);
// Writes the overview's tile side under its own key.
void SaveOverviewScale(int tileSide, const std::string& configPath,
                       const ChunkWriter& writer = WriteAllBytes);
// Writes the twelve setting keys.
void WriteSettings(const Settings& settings, const std::string& configPath,
                   const ChunkWriter& writer = WriteAllBytes);
// Writes each of the window's left, top, outer height (less StoredHeightOffset) and
// outer width that differs from what the last load applied; the record keeps what was
// read.
void SaveWindowGeometry(const Settings& settings, const std::string& configPath,
                        const WindowGeometry& window, const ChunkWriter& writer = WriteAllBytes);

} // namespace kadromir
