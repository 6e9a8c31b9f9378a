// The player's figures as play goes: this game's gems, chains, bombs, jokers and time are tallied
// as they happen and added to [Stats] when the game ends (the cracks, or a new game over one
// under way); what a game still in progress has tallied goes in at the close.
#include <algorithm>

#include "app/form.h"
#include "game/board_geometry.h"

namespace lumcrest {

void TForm1::tallyBeat() {
    // The time in play goes by the field's own beat, the jokers' and bombs' blink, so that a
    // recording replays to the same figures: the clock of a replay is not the clock of the play.
    if (Menupanel.visible() || play.gameOver) return;
    ++tallyBeats_;
    gameTally.seconds = static_cast<int>(tallyBeats_ * vertimer.interval() / 1000);
}

std::pair<int, int> TForm1::specialsOnBoard() const {
    std::pair<int, int> n{0, 0};
    for (int x = kFirstX; x <= kLastX; ++x)
        for (int y = kFirstY; y <= kLastY; ++y) {
            const int v = play.cellAt(x, y);
            if (v == kJoker) ++n.first;
            if (v == kBomb) ++n.second;
        }
    return n;
}

void TForm1::tallySpecials(std::pair<int, int> before) {
    // A settle step only takes gems away: the jokers and bombs it took were used in groups.
    const std::pair<int, int> after = specialsOnBoard();
    gameTally.jokers += std::max(0, before.first - after.first);
    gameTally.bombs += std::max(0, before.second - after.second);
}

void TForm1::tallyChain() {
    gameTally.gems += play.chainCleared;
    gameTally.chain = std::max(gameTally.chain, play.chainCleared);
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
