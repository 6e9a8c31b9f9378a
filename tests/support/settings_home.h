// A settings folder of a test's own: a fresh folder under /tmp, the names of the settings file
// and its lock in it, and the whole folder removed at the end, even after a case took its
// permissions away.
#pragma once

#include <stdlib.h>

#include <filesystem>
#include <fstream>
#include <sstream>
#include <stdexcept>
#include <string>

namespace lumcrest::testing {

class SettingsHome {
  public:
    std::filesystem::path dir, file, lock;

    // With CONTENTS the settings file is written at once; without, there is none yet.
    explicit SettingsHome(const char* contents = nullptr) {
        char pattern[] = "/tmp/lumcrest-home-XXXXXX";
        if (::mkdtemp(pattern) == nullptr) throw std::runtime_error("no temporary folder");
        dir = pattern;
        file = dir / "lumcrest.ini";
        lock = dir / "lumcrest.ini.lock";
        if (contents) std::ofstream(file) << contents;
    }
    ~SettingsHome() {
        namespace fs = std::filesystem;
        std::error_code ec;
        for (const fs::path& p : {dir, file, lock}) fs::permissions(p, fs::perms::owner_all, ec);
        fs::remove_all(dir, ec);
    }
    SettingsHome(const SettingsHome&) = delete;
    SettingsHome& operator=(const SettingsHome&) = delete;

    // The settings file's text as it is now ("" when there is none).
    std::string text() const {
        std::ifstream in(file);
        std::stringstream s;
        s << in.rdbuf();
        return s.str();
    }
};

}  // namespace lumcrest::testing
