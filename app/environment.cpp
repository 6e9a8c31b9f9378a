#include "app/environment.h"

#include <pwd.h>
#include <unistd.h>

#include <chrono>
#include <cstdlib>
#include <filesystem>

#include "assets/catalogue.h"

namespace lumcrest {

std::string homeFolder() {
    // A relative HOME would put the file wherever the game happens to work (its data folder).
    const char* home = std::getenv("HOME");
    if (home && home[0] == '/') return home;
    if (const passwd* pw = ::getpwuid(::getuid()); pw && pw->pw_dir && pw->pw_dir[0] == '/')
        return pw->pw_dir;
    // No home anywhere: a folder that is the same for every start, never the data folder.
    return "/tmp";
}

std::string defaultSettingsPath() {
    // A relative XDG_CONFIG_HOME is to be ignored, as the XDG base directory rules say.
    const char* xdg = std::getenv("XDG_CONFIG_HOME");
    std::filesystem::path base;
    if (xdg && xdg[0] == '/')
        base = xdg;
    else
        base = std::filesystem::path(homeFolder()) / ".config";
    return (base / "lumcrest" / "lumcrest.ini").string();
}

std::uint32_t clockSeed() {
    auto now = std::chrono::system_clock::now().time_since_epoch();
    auto ticks = std::chrono::duration_cast<std::chrono::microseconds>(now).count();
    return std::uint32_t(ticks ^ (ticks >> 32));
}

std::string webPageAddress(const std::string& dataDir) {
    std::error_code ec;
    std::filesystem::path page = std::filesystem::absolute(dataDir, ec) / asset::kWebPage.file;
    return "file://" + page.lexically_normal().string();
}

}  // namespace lumcrest
