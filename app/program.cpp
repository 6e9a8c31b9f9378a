#include "app/program.h"

#include "audio/effects.h"
#include "toolkit/error.h"
#include "toolkit/font.h"
#include "toolkit/i18n.h"
#include "toolkit/image.h"

namespace lumcrest {

void chooseLanguage(const Environment& env) {
    // A "Language" key in [Settings] overrides the desktop's choice.
    const std::string setting = Profile(env.settingsPath).readString("Settings", "Language", "");
    const std::string lang = tk::pickLanguage(setting);
    tk::useLanguage(lang, env.localeDir);
    tk::setPictureFolder(lang);
    // One face for every caption of the language: the layouts' serif when it has the letters.
    tk::chooseFaceFor(tk::tr("Welcome,") + tk::tr("Click to change user") + tk::tr("Level:") +
                      tk::tr("level:") + tk::tr("Ok"));
}

void decodePlayPictures(const TForm1& form) {
    // The image lists every game draws, decoded now rather than at their first frame in play
    // (the sparkle, the chain's flash and the first explosion would each stall a tick there).
    // The jar, its backgrounds and the cracks come only at a stage's end or a lost game.
    for (const tk::ImageList* list : {&form.Blockimage, &form.firstanim, &form.lightanim,
                                      &form.waveanim, &form.gemsblast2, &form.menulist}) {
        try {
            list->strip();
        } catch (const tk::Error&) {
            // Left undecoded: its first draw meets the same fault, as it always did.
        }
    }
}

std::unique_ptr<Program> startProgram(tk::Application& app, Environment env) {
    chooseLanguage(env);
    auto program = std::make_unique<Program>();
    program->form = std::make_unique<TForm1>(app, env);
    app.setMainWindow(program->form.get());
    program->about = std::make_unique<TAboutBox>(app, env);
    program->form->setAboutBox(program->about.get());
    program->form->open();
    app.flushPaints();
    // A settings file that exists but cannot be read is left alone for the whole run; the player
    // hears why once.
    if (const std::string& why = program->form->profile().unreadable(); !why.empty())
        app.reportError(why);
    // Once the first frame is out: the effects are read now rather than during play.
    preloadEffects(app.backend().audio());
    decodePlayPictures(*program->form);
    return program;
}

}  // namespace lumcrest
