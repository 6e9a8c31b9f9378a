// The desktop's program entry: find the data folder, make the SDL backend, then the game's start
// shared with the other programs (app/program.h), and run the event loop.
#include <stdlib.h>
#include <unistd.h>
#if defined(__GLIBC__)
#include <malloc.h>
#endif

#include <cstdio>
#include <cstdlib>
#include <exception>
#include <filesystem>
#include <new>
#include <optional>
#include <string>
#include <vector>

#include "app/command_line.h"
#include "app/last_words.h"
#include "app/program.h"
#include "app/recorder.h"
#include "app/recording_file.h"
#include "app/replay.h"
#include "assets/catalogue.h"
#include "store/profile.h"
#include "toolkit/application.h"
#include "toolkit/i18n.h"
#include "toolkit/image.h"
#include "toolkit/sdl/sdl_backend.h"

namespace fs = std::filesystem;

namespace {

// The data folder: beside the binary in the build tree, or the installed share folder (the
// games folder of a distribution package: /usr/games with /usr/share/games/lumcrest).
fs::path findDataFolder() {
    std::error_code ec;
    fs::path exe = fs::read_symlink("/proc/self/exe", ec);
    if (!ec) {
        fs::path dir = exe.parent_path();
        for (const fs::path& candidate :
             {dir / "data", dir / ".." / "share" / "lumcrest",
              dir / ".." / "share" / "games" / "lumcrest", dir / ".." / "build" / "data"})
            if (fs::exists(candidate / lumcrest::asset::kHelpPage.file, ec))
                return fs::weakly_canonical(candidate, ec);
    }
    return fs::current_path(ec);
}

// The settings file's bytes when it exists and can be read, through the toolkit's reader, which
// refuses a pipe or a folder at once instead of hanging on it.
bool readWhole(const std::string& path, std::string& bytes) {
    try {
        std::vector<std::uint8_t> b = tk::readFileBytes(path);
        bytes.assign(b.begin(), b.end());
        return true;
    } catch (const std::exception&) {
        return false;
    }
}

// The message catalogues: beside the binary in the build tree, or the installed share folder.
std::string findLocaleFolder(const fs::path& data) {
    std::error_code ec;
    fs::path exe = fs::read_symlink("/proc/self/exe", ec);
    if (!ec) {
        fs::path dir = exe.parent_path();
        for (const fs::path& candidate : {dir / "locale", dir / ".." / "share" / "locale"})
            if (fs::is_directory(candidate, ec))
                return fs::weakly_canonical(candidate, ec).string();
    }
    return (data / ".." / "locale").string();
}

// Answers --help, --version and a bad command line; nothing when the game is to be played.
std::optional<int> answerWithoutPlaying(const lumcrest::CommandLine& options) {
    switch (options.action) {
        case lumcrest::CommandLine::Action::Help:
            std::fputs(lumcrest::usageText(lumcrest::defaultSettingsPath()).c_str(), stdout);
            return 0;
        case lumcrest::CommandLine::Action::Version:
            std::printf("lumcrest %s\n", lumcrest::gameVersion());
            return 0;
        case lumcrest::CommandLine::Action::Error:
            std::fprintf(stderr, "lumcrest: %s (try 'lumcrest --help')\n", options.error.c_str());
            return 2;
        case lumcrest::CommandLine::Action::Play: break;
    }
    return std::nullopt;
}

// What the game learns of the machine: the settings file, its web page, its message catalogues,
// the clock as its seed and the player's language.
lumcrest::Environment makeEnvironment(const fs::path& data, const std::string& settingsPath) {
    lumcrest::Environment env;
    env.settingsPath = settingsPath;
    env.localeDir = findLocaleFolder(data);
    env.seedSource = lumcrest::clockSeed;
    // The player's language from the start, so even a display that cannot open says so in it.
    lumcrest::chooseLanguage(env);
    env.webAddress = lumcrest::webPageAddress(data.string(), tk::currentLanguage());
    return env;
}

// What a start that failed says: running out of memory is said as that, not in the words of the
// library that ran out.
std::string whyTheStartFailed(const std::exception& e) {
    if (dynamic_cast<const std::bad_alloc*>(&e))
        return tk::tr("Not enough memory to start the game.");
    return e.what();
}

// Large blocks (decoded pictures, an effect decoded for its play) go back to the system when
// freed. glibc would otherwise raise its threshold for mapping a block of its own to the size of
// the largest one freed, and serve the next ones from the heap, which keeps what it once held.
void returnLargeBlocksWhenFreed() {
#if defined(__GLIBC__)
    mallopt(M_MMAP_THRESHOLD, 128 * 1024);
#endif
}

// A folder of the replay's own for the recording's settings file, in memory where the system has
// a memory folder: the player's own file is never read or written. Empty when none can be made.
std::string replaySettingsFolder(const lumcrest::ReplayScript& script) {
    std::string folder;
    const char* const bases[] = {"/dev/shm", std::getenv("TMPDIR"), "/tmp"};
    for (const char* base : bases) {
        if (!base || !*base) continue;
        std::string pattern = std::string(base) + "/lumcrest-replay-XXXXXX";
        if (mkdtemp(pattern.data())) {
            folder = pattern;
            break;
        }
    }
    if (folder.empty() || !script.hasSettings) return folder;
    std::FILE* f = std::fopen((folder + "/lumcrest.ini").c_str(), "wb");
    if (!f) return folder;
    std::fwrite(script.settings.data(), 1, script.settings.size(), f);
    std::fclose(f);
    return folder;
}

// Watches the recording FILE in the window; the status: 0 when it played as recorded (or the
// viewer ended it), 1 when it could not start or went another way than the recording.
int watchRecording(const std::string& file, const fs::path& data) {
    std::string why;
    std::optional<lumcrest::ReplayScript> script = lumcrest::readReplayScript(file, why);
    if (!script) {
        std::fprintf(stderr, "lumcrest: %s\n", why.c_str());
        return 1;
    }
    const std::string folder = replaySettingsFolder(*script);
    if (folder.empty()) {
        std::fputs("lumcrest: no folder for the recording's settings\n", stderr);
        return 1;
    }
    std::error_code ec;
    fs::current_path(data, ec);
    lumcrest::Environment env = makeEnvironment(data, folder + "/lumcrest.ini");
    env.seedSource = [s = script->seed] { return s; };
    int status = 1;
    try {
        tk::SdlBackend backend;
        tk::Application app(backend);
        lumcrest::openDisplay(app, env);
        std::unique_ptr<lumcrest::Program> program = lumcrest::openProgram(app, env);
        lumcrest::ReplayPlayer player(app, *program, *script, app.nowUs());
        backend.setPacer({[&] { return player.dueUs(); }, [&] { player.run(); },
                          [&](int vk) { player.key(vk); }, [&] { player.close(); }});
        app.run();
        std::fprintf(stderr, "lumcrest: %s\n", player.summary().c_str());
        status = player.divergence().empty() ? 0 : 1;
        program.reset();
    } catch (const std::exception& e) {
        std::fprintf(stderr, "lumcrest: %s\n", e.what());
    }
    fs::remove_all(folder, ec);
    return status;
}

}  // namespace

// The whole run of the game; main adds what is said when memory runs out.
static int play(int argc, char** argv) {
    lumcrest::CommandLine options = lumcrest::parseCommandLine(
        std::vector<std::string>(argv + (argc > 0 ? 1 : 0), argv + argc));
    if (std::optional<int> status = answerWithoutPlaying(options)) return *status;
    // The recording is opened before anything else, so a file it may not write is told at once.
    std::FILE* recording = nullptr;
    if (options.recordFile) {
        std::string why;
        recording =
            lumcrest::openRecordingFile(*options.recordFile, lumcrest::defaultSettingsPath(), why);
        if (!recording) {
            std::fprintf(stderr, "lumcrest: %s\n", why.c_str());
            return 1;
        }
    }

    fs::path data = findDataFolder();
    if (options.replayFile) return watchRecording(*options.replayFile, data);
    // Where the player's file lives is settled before the game moves into its data folder.
    const std::string settingsPath = lumcrest::defaultSettingsPath();
    std::error_code ec;
    fs::current_path(data, ec);

    lumcrest::Environment env = makeEnvironment(data, settingsPath);

    // The desktop's backend; everything after its construction goes through tk::Backend.
    std::unique_ptr<tk::Backend> backend;
    try {
        backend = std::make_unique<tk::SdlBackend>();
    } catch (const std::exception& e) {
        std::fprintf(stderr, "lumcrest: %s\n", whyTheStartFailed(e).c_str());
        return 1;
    }
    tk::Application app(*backend);
    lumcrest::openDisplay(app, env);

    // A fixed seed serves every seeding; a recording needs one, so it takes one from the clock.
    std::optional<std::uint32_t> seed = options.seed;
    if (!seed && recording) seed = lumcrest::clockSeed();
    if (seed) env.seedSource = [s = *seed] { return s; };

    std::unique_ptr<lumcrest::SessionRecorder> recorder;
    if (recording) {
        std::string settings;
        bool existed = readWhole(env.settingsPath, settings);
        recorder = std::make_unique<lumcrest::SessionRecorder>(app, recording, app.nowUs());
        recorder->writeHead(lumcrest::gameVersion(), existed, settings, *seed);
    }

    std::unique_ptr<lumcrest::Program> program;
    try {
        // The language was chosen with the environment, before the display opened.
        program = lumcrest::openProgram(app, env);
    } catch (const std::exception& e) {
        backend->showFatalError(app, whyTheStartFailed(e));
        if (recording) std::fclose(recording);
        return 1;
    }
    if (recorder) app.inputObserver = recorder.get();
    lumcrest::saveIfTheDisplayGoes(*program->form);
    lumcrest::saveOnFatalPaths(
        [&form = *program->form] { lumcrest::saveInPassing(form, "the game cannot go on"); });
    app.run();
    // The game has closed, and saved.
    lumcrest::stopSavingOnFatalPaths();
    backend->onDisplayLost = nullptr;
    app.inputObserver = nullptr;
    if (recording) {
        if (std::fclose(recording) != 0 || !recorder->healthy())
            std::fprintf(stderr, "lumcrest: the recording %s is incomplete\n",
                         options.recordFile->c_str());
    }
    if (app.tickLog) std::fclose(app.tickLog);
    program.reset();
    return backend->exitStatus();
}

int main(int argc, char** argv) {
    returnLargeBlocksWhenFreed();
    // A file size limit fails the write (the settings, a recording) rather than ending the game.
    lumcrest::keepRunningPastFileSizeLimit();
    try {
        return play(argc, argv);
    } catch (const std::bad_alloc& e) {
        // Before the game was there to save, or after it closed.
        std::fprintf(stderr, "lumcrest: %s\n", whyTheStartFailed(e).c_str());
        return 1;
    }
}
