// The high-score table over the menu as a part: its ten lines, the table as the screen shows it,
// a finished game's score put into it (and into the settings file), and the blink of the line
// the game has entered.
#pragma once

#include <memory>

#include "game/score_table.h"
#include "store/profile.h"
#include "toolkit/control.h"
#include "ui/menu_state.h"

namespace lumcrest {

class ScorePanel {
  public:
    // Lays out the table's lines on PANEL in FONT: numbers, names and scores 1..10.
    void build(tk::Panel& panel, const tk::FontSpec& font);

    // The table as the screen shows it, and showing one.
    ScoreTable onScreen() const;
    void show(const ScoreTable& table);
    // Puts LINE into the table on screen at once, and into the table as PROFILE's file holds
    // it now (with what other copies of the game put there meanwhile); the screen then shows
    // that merged table. A score the file cannot take now stays on screen and goes into the file
    // at its next write. Throws the refused write.
    void insert(Profile& profile, const ScoreLine& line);
    // One blink of every line holding the newest score: true once the blinking is over.
    bool blinkTick();

    std::unique_ptr<tk::Label> name[11], num[11], score[11];  // the lines 1..10
    ScorePanelState state;
};

}  // namespace lumcrest
