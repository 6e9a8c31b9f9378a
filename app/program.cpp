#include "app/program.h"

#include <time.h>

#include <cstdio>
#include <cstdlib>
#include <exception>
#include <utility>

#include "app/display_settings.h"
#include "audio/effects.h"
#include "store/settings_schema.h"
#include "toolkit/font.h"
#include "toolkit/i18n.h"
#include "toolkit/image.h"
#include "view/frame_sizes.h"

namespace lumcrest {

void chooseLanguage(Environment& env) {
    // A "Language" key in [Settings] overrides the desktop's choice.
    const std::string language = readSettingText(settingsFile(env), setting::kLanguage);
    const std::string refused = tk::useLanguage(tk::pickLanguage(language), env.localeDir);
    // Said once, where a packager or a player who started the game from a terminal looks.
    if (!refused.empty())
        std::fprintf(stderr, "lumcrest: the translation %s is not used; the game speaks English\n",
                     refused.c_str());
    tk::setPictureFolder(tk::currentLanguage());
    // One face for every caption of the language: the layouts' serif when it has the letters.
    tk::chooseFaceFor(tk::tr("Welcome,") + tk::tr("Click to change user") + tk::tr("Level:") +
                      tk::tr("level:") + tk::tr("Ok"));
}

std::unique_ptr<Program> startProgram(tk::Application& app, Environment env) {
    chooseLanguage(env);
    return openProgram(app, std::move(env));
}

std::unique_ptr<Program> openProgram(tk::Application& app, Environment env) {
    Profile& settings = settingsFile(env);
    auto program = std::make_unique<Program>();
    program->form = std::make_unique<TForm1>(app, env);
    app.setMainWindow(program->form.get());
    program->about = std::make_unique<TAboutBox>(app, env);
    program->form->setAboutBox(program->about.get());
    // The start has read what it needs: later reads see the file as it is then.
    settings.releaseReading();
    program->form->open();
    app.flushPaints();
    // A settings file that exists but cannot be read is left alone for the whole run; the player
    // hears why once.
    if (const std::string& why = program->form->profile().unreadable(); !why.empty())
        app.reportError(why);
    // A key of play the file names wrongly keeps its default; the player hears so once.
    for (const std::string& bad : program->form->badKeys)
        app.reportError(
            tk::tr("The settings file's [Keys] %s names no key; the default keys are "
                   "used for it.",
                   bad));
    // Once the first frame is out: the effects are read now rather than during play.
    preloadEffects(app.backend().audio());
    // A game in progress shows at once: what its play draws is decoded now too. Behind the
    // menu, that waits for the game to start.
    if (!program->form->Menupanel.visible()) program->form->fieldView.decodePlayPictures();
    return program;
}

// The display at the player's scale, remembering a change of it, on screen at once: the window
// fills when the game has loaded what it shows.
void openDisplay(tk::Application& app, Environment& env) {
    tk::Backend& backend = app.backend();
    Profile& settings = settingsFile(env);
    DisplaySettings display = readDisplaySettings(settings);
    backend.setDisplayChoices(display.scale, display.fullscreen);
    backend.onDisplayChoicesChanged = [file = env.settings](int scale, bool fullscreen) {
        writeDisplaySettings(*file, DisplaySettings{scale, fullscreen});
    };
    // For the performance measurements: every timer tick with its time, and when the window
    // appeared (wall-clock microseconds).
    if (const char* log = std::getenv("LUMCREST_TICK_LOG")) app.tickLog = std::fopen(log, "w");
    backend.openEarly(kFrameWidth, kFrameHeight, kWindowName);
    if (app.tickLog) {
        timespec ts;
        clock_gettime(CLOCK_REALTIME, &ts);
        std::fprintf(app.tickLog, "mapped %lld\n",
                     (long long)ts.tv_sec * 1000000 + ts.tv_nsec / 1000);
    }
}

// The display going away, or the window destroyed by another program, ends the game at once with
// nobody at the screen: the game in progress is saved as a signal saves it, and the terminal says
// why the game ended.
void saveInPassing(TForm1& form, const char* what) {
    try {
        form.writeSavedGame();
        std::fprintf(stderr, "lumcrest: %s; the game was saved\n", what);
    } catch (const std::exception& e) {
        std::fprintf(stderr, "lumcrest: %s; the game was not saved: %s\n", what, e.what());
    }
}

void saveIfTheDisplayGoes(TForm1& form) {
    form.app().backend().onDisplayLost = [&form](const char* what) { saveInPassing(form, what); };
}

}  // namespace lumcrest
