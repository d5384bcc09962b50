#pragma once

#include "settings/settings.h"
#include "settings/settings_store.h"

#include <string>

namespace kadromir {

// The close-time part of the recent file and directory: both fields take the current
// file and directory; then each key is written only when its start option is set and
// the stored value differs. With neither option set the file is not touched.
void SaveRecent(Settings& settings, const std::string& configPath, const std::string& currentFile,
                const std::string& currentDirectory, const ChunkWriter& writer = WriteAllBytes);

} // namespace kadromir
