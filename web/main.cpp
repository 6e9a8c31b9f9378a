// The program entry of the game in the browser. The page has mounted the player's storage at the
// settings file's folder and put the browser's languages in LANGUAGE before this runs; the data
// the page downloaded is in /data, /locale and /fonts. Once the window is open this returns and
// the browser's event loop runs the game.
#include <emscripten.h>

#include <cstdio>
#include <cstdlib>
#include <exception>
#include <filesystem>
#include <memory>

#include "app/environment.h"
#include "app/program.h"
#include "toolkit/application.h"
#include "toolkit/i18n.h"
#include "toolkit/web/web_backend.h"

namespace {

EM_JS(void, jsMark, (const char* what), { Module.lumcrest.shell.mark(UTF8ToString(what)); });

// Closing or reloading the tab ends the game without a close box: the game in progress is kept,
// as a signal keeps it on the desktop.
void keepOnPageHide(tk::WebBackend& backend, lumcrest::TForm1& form) {
    backend.onPageHidden = [&form] {
        try {
            form.writeSavedGame();
        } catch (const std::exception& e) {
            std::fprintf(stderr, "lumcrest: the game was not saved: %s\n", e.what());
        }
    };
}

}  // namespace

int main() {
    std::error_code ec;
    std::filesystem::current_path("/data", ec);
    lumcrest::Environment env;
    env.settingsPath = lumcrest::defaultSettingsPath();
    env.localeDir = "/locale";
    env.seedSource = lumcrest::clockSeed;
    // The page's address may fix the seed and the clock, for the tests that compare its frames
    // with the script driver's.
    if (const char* seed = std::getenv("LUMCREST_SEED"))
        env.seedSource = [s = std::uint32_t(std::strtoul(seed, nullptr, 10))] { return s; };
    lumcrest::chooseLanguage(env);
    env.webAddress = lumcrest::webPageAddress("/data", tk::currentLanguage());

    // They live as long as the page: the browser calls into them after main has returned.
    auto* backend = new tk::WebBackend;
    auto* app = new tk::Application(*backend);
    if (std::getenv("LUMCREST_TEST_CLOCK")) backend->useTestClock();
    try {
        // The game's start as on the desktop (the display's choices mean nothing in a page).
        lumcrest::openDisplay(*app, env);
        lumcrest::Program* program = lumcrest::openProgram(*app, env).release();
        keepOnPageHide(*backend, *program->form);
    } catch (const std::exception& e) {
        backend->showFatalError(*app, e.what());
        return 1;
    }
    app->run();
    jsMark("first-frame");
    return 0;
}
