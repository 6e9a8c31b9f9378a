// The window's side of the high-score table: the finished game's score under the name in the
// box, the blink's timer, closing the table. The table itself is the score panel's.
#include "app/form.h"
#include "assets/catalogue.h"

namespace lumcrest {

void TForm1::insertHighScore() {
    scorePanel.insert(profile(), ScoreLine{Playersname.text(), play.Score});
}

ScoreTable TForm1::tableOnScreen() const {
    return scorePanel.onScreen();
}

void TForm1::showHighScores(const ScoreTable& table) {
    scorePanel.show(table);
}

void TForm1::scoretimerTimer() {
    if (scorePanel.blinkTick()) scoretimer.setEnabled(false);
}

void TForm1::scorePage(int page) {
    if (page == scorePanel.page()) return;
    if (page == 1) scorePanel.showStats(readPlayStats(profile_));
    scorePanel.showPage(page);
    playEffect(asset::kRollover.file);
}

void TForm1::hscorecloseClick() {
    Scorepanel.hide();
    playEffect(asset::kMenuOver.file);
    drawBoard();
}

}  // namespace lumcrest
