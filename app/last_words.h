// The game's last act when it fails beyond repair: an exception nothing caught, std::terminate,
// or an abort in the game's own code. The game in progress is saved first, where that can be done
// safely, and then the program ends as it would have (SIGABRT).
#pragma once

#include <functional>

namespace lumcrest {

// From now on every fatal path runs SAVE once before the program ends, on the thread that called
// this (the loop's): an abort on another thread (a sound thread) saves nothing, since the game's
// state may be half changed there. SAVE says on standard error what it did.
void saveOnFatalPaths(std::function<void()> save);
// The game has closed and saved: the fatal paths end the program without saving.
void stopSavingOnFatalPaths();

}  // namespace lumcrest
