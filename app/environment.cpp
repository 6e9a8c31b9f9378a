#include "environment.h"

#include <chrono>
#include <cstdlib>
#include <filesystem>

namespace lumcrest {

std::string defaultSettingsPath() {
    const char* xdg = std::getenv("XDG_CONFIG_HOME");
    std::filesystem::path base;
    if (xdg && *xdg) {
        base = xdg;
    } else {
        const char* home = std::getenv("HOME");
        base = std::filesystem::path(home && *home ? home : ".") / ".config";
    }
    return (base / "lumcrest" / "lumcrest.ini").string();
}

std::uint32_t clockSeed() {
    auto now = std::chrono::system_clock::now().time_since_epoch();
    auto ticks = std::chrono::duration_cast<std::chrono::microseconds>(now).count();
    return std::uint32_t(ticks ^ (ticks >> 32));
}

std::string webPageAddress(const std::string& dataDir) {
    std::error_code ec;
    std::filesystem::path page = std::filesystem::absolute(dataDir, ec) / "lumcrest.html";
    return "file://" + page.lexically_normal().string();
}

}  // namespace lumcrest
