// What the program entry hands the main window: where things live and how to seed the dice.
#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <string>

#include "store/profile.h"

namespace lumcrest {

struct Environment {
    // The settings file, "lumcrest.ini" in the user's config folder.
    std::string settingsPath;
    // That file, shared by everything that reads or writes it; see settingsFile().
    std::shared_ptr<Profile> settings;
    // The address of the game's web page, opened at close, by the logo and by the About box.
    std::string webAddress;
    // The folder of the message catalogues (LANG/LC_MESSAGES/lumcrest.mo).
    std::string localeDir;
    // Gives the seed for every seeding of the random generator (the clock, or a fixed number).
    std::function<std::uint32_t()> seedSource;
};

// The settings file of ENV. The first call opens it and reads it for the whole start of the game
// (the language, the display, the main window): one read serves them all, until
// openProgram() has built the windows.
Profile& settingsFile(Environment& env);

// The settings file's path, always absolute: $XDG_CONFIG_HOME/lumcrest/lumcrest.ini when that
// variable holds an absolute path, else HOME/.config/lumcrest/lumcrest.ini; empty when there is
// no home (the game then saves nothing).
std::string defaultSettingsPath();
// The user's home: $HOME when absolute, else the password database's entry; else empty.
std::string homeFolder();
// A seed from the clock.
std::uint32_t clockSeed();
// The web page shipped in the data folder DATADIR, as a file address: the translation in
// DATADIR/LANG when there is one, else the English page ("" is English).
std::string webPageAddress(const std::string& dataDir, const std::string& lang);
// The file address of the absolute path PATH: its bytes percent-encoded but for the letters,
// digits, "-._~" and the slashes, so that '#', '?', '%', spaces and non-ASCII names survive.
std::string fileAddress(const std::string& path);

}  // namespace lumcrest
