// The player's figures as play goes: this game's gems, chains, bombs, jokers and time are tallied
// as they happen and added to [Stats] when the game ends (the cracks, or a new game over one
// under way); what a game still in progress has tallied goes in at the close.
#include "app/form.h"

namespace lumcrest {

void TForm1::tallyBeat() {
    // The time in play goes by the field's own beat, the jokers' and bombs' blink, so that a
    // recording replays to the same figures: the clock of a replay is not the clock of the play.
    if (Menupanel.visible() || play.gameOver) return;
    ++tallyBeats_;
    gameTally.seconds = static_cast<int>(tallyBeats_ * vertimer.interval() / 1000);
}

void TForm1::endGameStats(bool lost) {
    PlayStats ended = gameTally;
    ended.played = 1;
    ended.lost = lost ? 1 : 0;
    ended.points = play.Score;
    ended.best = play.Score;
    ended.level = play.Stage;
    gameTally = PlayStats{};
    gameTouched = false;
    tallyBeats_ = 0;
    addPlayStats(profile_, ended);
}

void TForm1::closeStats() {
    if (!gameTouched) return;
    PlayStats partial = gameTally;
    gameTally = PlayStats{};
    tallyBeats_ = 0;
    // The game goes on at the next start; it counts as played when it ends. The saved game's
    // write takes these figures with it.
    addPlayStats(profile_, partial, false);
}

}  // namespace lumcrest
