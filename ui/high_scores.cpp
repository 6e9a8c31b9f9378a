// The table of the ten best scores: insertion at a game over, the blink of the new line, closing.
#include "app/form.h"
#include "assets/catalogue.h"
#include "assets/palette.h"
#include "store/score_table.h"

namespace lumcrest {

void TForm1::insertHighScore() {
    const ScoreLine line{Playersname.text(), Score};
    scores.lastScore = Score;
    // On screen at once, into the table as this copy knows it: it stays there even when the file
    // cannot take it now.
    const ScoreWorkingList mine = sortIntoTable(tableOnScreen(), line);
    for (int k = 1; k <= 11; ++k) scores.sortScores[k] = mine[k].score;
    showHighScores(topTen(mine));
    // Into the table as the file holds it when the write comes, under the lock: another copy of
    // the game may have put its own scores there since this one read it. The one change this
    // player made goes into that table, and the screen shows the result. Should the score no
    // longer make the ten, the merged table is shown without it.
    profile().keepUntilWritten([this, line](Profile& p) {
        const ScoreWorkingList merged = sortIntoTable(readScoreTable(p), line);
        writeScoreTable(p, topTen(merged));
        for (int k = 1; k <= 11; ++k) scores.sortScores[k] = merged[k].score;
        showHighScores(topTen(merged));
    });
    profile().writeUnwritten();
}

ScoreTable TForm1::tableOnScreen() const {
    ScoreTable table;
    for (int k = 1; k <= 10; ++k) table[k] = ScoreLine{name[k]->caption(), scores.hiScores[k]};
    return table;
}

void TForm1::showHighScores(const ScoreTable& table) {
    for (int k = 1; k <= 10; ++k) {
        scores.hiScores[k] = table[k].score;
        name[k]->setCaption(table[k].name);
        score[k]->setCaption(std::to_string(table[k].score));
    }
}

void TForm1::scoretimerTimer() {
    if (scores.blinkCount > 8) {
        scores.blinkCount = 0;
        scoretimer.setEnabled(false);
        return;
    }
    bool red = scores.blinkCount == 1 || scores.blinkCount == 3 || scores.blinkCount == 5 ||
               scores.blinkCount == 7;
    constexpr asset::Colour kRed = asset::kNewScoreBlink;
    tk::Argb colour = red ? tk::rgb(kRed.r, kRed.g, kRed.b) : tk::rgb(255, 255, 255);
    // Every line with the newest score blinks, older lines of the same score too.
    for (int k = 1; k <= 10; ++k) {
        if (scores.hiScores[k] != scores.lastScore) continue;
        num[k]->setColour(colour);
        name[k]->setColour(colour);
        score[k]->setColour(colour);
    }
    ++scores.blinkCount;
}

void TForm1::hscorecloseClick() {
    Scorepanel.hide();
    playEffect(asset::kMenuOver.file);
    drawBoard();
}

}  // namespace lumcrest
