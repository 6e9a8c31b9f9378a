// The game's command line: --help, --version, --seed N, --record FILE and --replay FILE.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace lumcrest {

struct CommandLine {
    enum class Action { Play, Help, Version, Error };
    Action action = Action::Play;
    std::optional<std::uint32_t> seed;
    std::optional<std::string> recordFile;
    std::optional<std::string> replayFile;  // watch a recording instead of playing
    std::string error;                      // one line, for Action::Error
};

// ARGS without the program name. Accepts "--opt VALUE" and "--opt=VALUE"; the first of --help and
// --version wins over everything after it.
CommandLine parseCommandLine(const std::vector<std::string>& args);

// The text of --help; SETTINGSPATH is where the settings file lives for this user.
std::string usageText(const std::string& settingsPath);

// The game's version, from the build.
const char* gameVersion();

}  // namespace lumcrest
