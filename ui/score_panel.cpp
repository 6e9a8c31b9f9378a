// The table of the ten best scores: insertion at a game over, the blink of the new line.
#include "ui/score_panel.h"

#include <string>

#include "assets/palette.h"
#include "store/score_table.h"
#include "toolkit/i18n.h"

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

namespace {

constexpr tk::Argb kTabOn = tk::rgb(255, 214, 90), kTabOff = tk::rgb(214, 206, 240);

// The time played as hours and minutes ("3 h 05 min"), or minutes alone under an hour.
std::string playTime(int seconds) {
    const int minutes = seconds / 60;
    if (minutes < 60) return tk::tr("%s min", std::to_string(minutes));
    const int m = minutes % 60;
    return tk::tr("%s h", std::to_string(minutes / 60)) + " " +
           tk::tr("%s min", (m < 10 ? "0" : "") + std::to_string(m));
}

}  // namespace

void ScorePanel::buildStats(tk::Panel& panel, const tk::FontSpec& font) {
    tk::FontSpec tabs = font;
    tabs.pixelSize = font.pixelSize - 2;
    const char* tabText[2] = {N_("Records"), N_("Statistics")};
    for (int t = 0; t < 2; ++t) {
        tab[t] = std::make_unique<tk::Label>(&panel, t == 0 ? "scoretab1" : "scoretab2", tabs);
        tab[t]->setCaption(tk::tr(tabText[t]));
        tab[t]->handCursor = true;
        tab[t]->onClick = [this, t] {
            if (onPageClick) onPageClick(t);
        };
    }
    // Centred over the table, the first to the left of the middle, the second to the right.
    tab[0]->setPosition(183 - tab[0]->width() - 12, 62);
    tab[1]->setPosition(200 + 12, 62);
    for (int k = 0; k < 10; ++k) {
        const int top = 89 + 35 * k;
        statName[k] = std::make_unique<tk::Label>(&panel, "statname" + std::to_string(k + 1), font);
        statName[k]->setPosition(40, top);
        statName[k]->hide();
        statValue[k] =
            std::make_unique<tk::Label>(&panel, "statvalue" + std::to_string(k + 1), font);
        statValue[k]->setPosition(260, top);
        statValue[k]->hide();
    }
    showPage(0);
}

void ScorePanel::showPage(int p) {
    page_ = p;
    for (int k = 1; k <= 10; ++k) {
        num[k]->setVisible(p == 0);
        name[k]->setVisible(p == 0);
        score[k]->setVisible(p == 0);
    }
    for (int k = 0; k < 10; ++k) {
        statName[k]->setVisible(p == 1);
        statValue[k]->setVisible(p == 1);
    }
    tab[0]->setColour(p == 0 ? kTabOn : kTabOff);
    tab[1]->setColour(p == 1 ? kTabOn : kTabOff);
}

void ScorePanel::showStats(const PlayStats& s) {
    const std::pair<const char*, std::string> lines[10] = {
        {N_("Games played"), std::to_string(s.played)},
        {N_("Games lost"), std::to_string(s.lost)},
        {N_("Total points"), std::to_string(s.points)},
        {N_("Best score"), std::to_string(s.best)},
        {N_("Best chain"), std::to_string(s.chain)},
        {N_("Gems cleared"), std::to_string(s.gems)},
        {N_("Furthest level"), std::to_string(s.level)},
        {N_("Bombs set off"), std::to_string(s.bombs)},
        {N_("Jokers used"), std::to_string(s.jokers)},
        {N_("Time played"), playTime(s.seconds)},
    };
    for (int k = 0; k < 10; ++k) {
        statName[k]->setCaption(tk::tr(lines[k].first));
        statValue[k]->setCaption(lines[k].second);
        // Figures end at the scores' right edge.
        statValue[k]->setPosition(343 - statValue[k]->width(), statValue[k]->top());
    }
}

}  // namespace lumcrest
