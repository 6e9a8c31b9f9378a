// Opening the file of `--record FILE`: before any window, and never onto something a recording
// must not replace.
#pragma once

#include <cstdio>
#include <string>

namespace lumcrest {

// Opens PATH for writing a recording, emptied. Refuses, touching nothing, the settings file
// SETTINGSPATH (the same file on disk, whatever links lead there), a FIFO (without waiting for a
// reader), a folder, a device: anything but a regular file or a new one. On a refusal returns
// null and sets WHY to one line naming PATH.
std::FILE* openRecordingFile(const std::string& path, const std::string& settingsPath,
                             std::string& why);

}  // namespace lumcrest
