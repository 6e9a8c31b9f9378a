// The high-score table over the menu as a part: its ten lines, the table as the screen shows it,
// a finished game's score put into it (and into the settings file), and the blink of the line
// the game has entered.
#pragma once

#include <functional>
#include <memory>

#include "game/score_table.h"
#include "store/play_stats.h"
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

    // The second page, the player's figures: "Records" and "Statistics" at the top switch
    // between the two (a click, Left and Right, the D-pad).
    void buildStats(tk::Panel& panel, const tk::FontSpec& font);
    void showPage(int page);  // 0 the records, 1 the statistics
    void showStats(const PlayStats& stats);
    int page() const { return page_; }
    std::function<void(int page)> onPageClick;

    std::unique_ptr<tk::Label> name[11], num[11], score[11];  // the lines 1..10
    std::unique_ptr<tk::Label> tab[2];                        // "Records", "Statistics"
    std::unique_ptr<tk::Label> statName[10], statValue[10];
    ScorePanelState state;

  private:
    int page_ = 0;
};

}  // namespace lumcrest
