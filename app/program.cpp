#include "program.h"

namespace lumcrest {

std::unique_ptr<Program> startProgram(tk::Application& app, Environment env) {
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
    return program;
}

}  // namespace lumcrest
