// The game's start, shared by every program entry (the desktop's, the browser's, the script
// driver's), whatever its backend: the display, then the main window and the About dialog.
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

// The display as the player chose it (its scale, full screen; a change of it is remembered), on
// screen at once where the backend shows windows: before openProgram, on every backend.
void openDisplay(tk::Application& app, Environment& env);
// The display going away under the game (where a backend can tell) saves the game in progress,
// as a signal does, and says so on standard error with WHAT.
void saveIfTheDisplayGoes(TForm1& form);
void saveInPassing(TForm1& form, const char* what);

// chooseLanguage, then openProgram: for the driver and the tests, which have chosen nothing yet.
std::unique_ptr<Program> startProgram(tk::Application& app, Environment env);

}  // namespace lumcrest
