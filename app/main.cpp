// The program entry of the game: find the data folder, open the window, run the event loop.
#include <time.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <exception>
#include <filesystem>

#include "display_settings.h"
#include "program.h"
#include "toolkit/application.h"
#include "toolkit/sdl/sdl_backend.h"

namespace fs = std::filesystem;

namespace {

// The data folder: beside the binary in the build tree, or the installed share folder.
fs::path findDataFolder() {
    std::error_code ec;
    fs::path exe = fs::read_symlink("/proc/self/exe", ec);
    if (!ec) {
        fs::path dir = exe.parent_path();
        for (const fs::path& candidate :
             {dir / "data", dir / ".." / "share" / "lumcrest", dir / ".." / "build" / "data"})
            if (fs::exists(candidate / "help.jpg", ec)) return fs::weakly_canonical(candidate, ec);
    }
    return fs::current_path(ec);
}

}  // namespace

int main() {
    fs::path data = findDataFolder();
    // Where the player's file lives is settled before the game moves into its data folder.
    const std::string settingsPath = lumcrest::defaultSettingsPath();
    std::error_code ec;
    fs::current_path(data, ec);

    std::unique_ptr<tk::SdlBackend> backend;
    try {
        backend = std::make_unique<tk::SdlBackend>();
    } catch (const std::exception& e) {
        std::fprintf(stderr, "lumcrest: %s\n", e.what());
        return 1;
    }
    tk::Application app(*backend);
    lumcrest::DisplaySettings display = lumcrest::readDisplaySettings(settingsPath);
    backend->setDisplayChoices(display.scale, display.fullscreen);
    backend->onDisplayChoicesChanged = [&settingsPath](int scale, bool fullscreen) {
        lumcrest::writeDisplaySettings(settingsPath, lumcrest::DisplaySettings{scale, fullscreen});
    };
    // For the performance measurements: every timer tick with its time, and when the window
    // appeared (wall-clock microseconds).
    if (const char* log = std::getenv("LUMCREST_TICK_LOG")) app.tickLog = std::fopen(log, "w");
    // The window is on screen at once; it fills when the game has loaded what it shows.
    backend->openEarly(849, 588);
    if (app.tickLog) {
        timespec ts;
        clock_gettime(CLOCK_REALTIME, &ts);
        std::fprintf(app.tickLog, "mapped %lld\n", (long long)ts.tv_sec * 1000000 + ts.tv_nsec / 1000);
    }

    lumcrest::Environment env;
    env.settingsPath = settingsPath;
    env.webAddress = lumcrest::webPageAddress(data.string());
    env.seedSource = lumcrest::clockSeed;

    std::unique_ptr<lumcrest::Program> program;
    try {
        program = lumcrest::startProgram(app, env);
    } catch (const std::exception& e) {
        backend->showFatalError(app, e.what());
        return 1;
    }
    app.run();
    if (app.tickLog) std::fclose(app.tickLog);
    program.reset();
    return backend->exitStatus();
}
