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
    // No home anywhere: no place of the player's own (a shared folder such as /tmp is anyone's).
    return {};
}

Profile& settingsFile(Environment& env) {
    if (!env.settings) {
        env.settings = std::make_shared<Profile>(env.settingsPath);
        env.settings->holdReading();
    }
    return *env.settings;
}

std::string defaultSettingsPath() {
    // A relative XDG_CONFIG_HOME is to be ignored, as the XDG base directory rules say.
    const char* xdg = std::getenv("XDG_CONFIG_HOME");
    std::filesystem::path base;
    if (xdg && xdg[0] == '/') {
        base = xdg;
    } else {
        const std::string home = homeFolder();
        if (home.empty()) return {};
        base = std::filesystem::path(home) / ".config";
    }
    return (base / "lumcrest" / "lumcrest.ini").string();
}

std::uint32_t clockSeed() {
    auto now = std::chrono::system_clock::now().time_since_epoch();
    auto ticks = std::chrono::duration_cast<std::chrono::microseconds>(now).count();
    return std::uint32_t(ticks ^ (ticks >> 32));
}

std::string fileAddress(const std::string& path) {
    static const char kHex[] = "0123456789ABCDEF";
    std::string address = "file://";
    for (unsigned char c : path) {
        const bool unreserved = (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') ||
                                (c >= '0' && c <= '9') || c == '-' || c == '.' || c == '_' ||
                                c == '~' || c == '/';
        if (unreserved) {
            address += char(c);
        } else {
            address += '%';
            address += kHex[c >> 4];
            address += kHex[c & 15];
        }
    }
    return address;
}

std::string webPageAddress(const std::string& dataDir, const std::string& lang) {
    std::error_code ec;
    const std::filesystem::path data = std::filesystem::absolute(dataDir, ec);
    std::filesystem::path page = data / asset::kWebPage.file;
    // The translated pages lie beside the translated pictures, in a folder named by the language.
    if (!lang.empty() && lang.find('/') == std::string::npos &&
        std::filesystem::is_regular_file(data / lang / asset::kWebPage.file, ec))
        page = data / lang / asset::kWebPage.file;
    return fileAddress(page.lexically_normal().string());
}

}  // namespace lumcrest
