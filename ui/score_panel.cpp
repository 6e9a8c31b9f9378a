// The table of the ten best scores: insertion at a game over, the blink of the new line.
#include "ui/score_panel.h"

#include <string>

#include "assets/palette.h"
#include "store/score_table.h"

namespace lumcrest {

void ScorePanel::build(tk::Panel& panel, const tk::FontSpec& font) {
    for (int k = 1; k <= 10; ++k) {
        const std::string n = std::to_string(k);
        const int top = 89 + 35 * (k - 1);
        num[k] = std::make_unique<tk::Label>(&panel, "num" + n, font);
        num[k]->setCaption(n);
        num[k]->setPosition(k == 10 ? 66 : 74, top);
        name[k] = std::make_unique<tk::Label>(&panel, "name" + n, font);
        name[k]->setPosition(107, top);
        score[k] = std::make_unique<tk::Label>(&panel, "score" + n, font);
        score[k]->setPosition(250, top);
    }
}

void ScorePanel::insert(Profile& profile, const ScoreLine& line) {
    state.lastScore = line.score;
    // On screen at once, into the table as this copy knows it: it stays there even when the file
    // cannot take it now.
    const ScoreWorkingList mine = sortIntoTable(onScreen(), line);
    for (int k = 1; k <= 11; ++k) state.sortScores[k] = mine[k].score;
    show(topTen(mine));
    // Into the table as the file holds it when the write comes, under the lock: another copy of
    // the game may have put its own scores there since this one read it. The one change this
    // player made goes into that table, and the screen shows the result. Should the score no
    // longer make the ten, the merged table is shown without it.
    profile.keepUntilWritten([this, line](Profile& p) {
        const ScoreWorkingList merged = sortIntoTable(readScoreTable(p), line);
        writeScoreTable(p, topTen(merged));
        for (int k = 1; k <= 11; ++k) state.sortScores[k] = merged[k].score;
        show(topTen(merged));
    });
    profile.writeUnwritten();
}

ScoreTable ScorePanel::onScreen() const {
    ScoreTable table;
    for (int k = 1; k <= 10; ++k) table[k] = ScoreLine{name[k]->caption(), state.hiScores[k]};
    return table;
}

void ScorePanel::show(const ScoreTable& table) {
    for (int k = 1; k <= 10; ++k) {
        state.hiScores[k] = table[k].score;
        name[k]->setCaption(table[k].name);
        score[k]->setCaption(std::to_string(table[k].score));
    }
}

bool ScorePanel::blinkTick() {
    int& count = state.blinkCount;
    if (count > 8) {
        count = 0;
        return true;
    }
    bool red = count == 1 || count == 3 || count == 5 || count == 7;
    constexpr asset::Colour kRed = asset::kNewScoreBlink;
    tk::Argb colour = red ? tk::rgb(kRed.r, kRed.g, kRed.b) : tk::rgb(255, 255, 255);
    // Every line with the newest score blinks, older lines of the same score too.
    for (int k = 1; k <= 10; ++k) {
        if (state.hiScores[k] != state.lastScore) continue;
        num[k]->setColour(colour);
        name[k]->setColour(colour);
        score[k]->setColour(colour);
    }
    ++count;
    return false;
}

}  // namespace lumcrest
