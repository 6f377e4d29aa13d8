#pragma once
// The window's own texts about where its songs are and what a run made of them, built without a
// widget.
#include "songs/FolderMap.h"

#include <QString>

#include <filesystem>
#include <vector>

namespace app {

// The start-up message for [PASTAS] lines that cannot be taken; empty when there are none.
QString RefusedFolderLinesText(const std::filesystem::path& configuration,
                               const std::vector<songs::RefusedFolderLine>& refused);

} // namespace app
