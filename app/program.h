// The program entry's work, shared by the game and the script driver: construct the main window,
// then the About dialog.
#pragma once

#include <memory>

#include "app/about_box.h"
#include "app/environment.h"
#include "app/form.h"

namespace lumcrest {

struct Program {
    std::unique_ptr<TForm1> form;
    std::unique_ptr<TAboutBox> about;
};

// Picks the language (the settings file's "Language" key, else the desktop's) and makes the
// texts, pictures and fonts follow it.
void chooseLanguage(Environment& env);

// Constructs both windows and opens the main one, in the language chosen before. Throws (with the
// message the error box shows) when construction fails.
std::unique_ptr<Program> openProgram(tk::Application& app, Environment env);

// chooseLanguage, then openProgram: for the driver and the tests, which have chosen nothing yet.
std::unique_ptr<Program> startProgram(tk::Application& app, Environment env);

}  // namespace lumcrest
