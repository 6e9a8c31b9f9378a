// The player's figures over every game, the [Stats] section: added to at the end of each game,
// and merged under the lock with what other copies of the game added meanwhile.
#pragma once

#include <cstdint>

#include "store/profile.h"

namespace lumcrest {

struct PlayStats {
    int played = 0;   // games that ended, lost or left for a new one
    int lost = 0;     // games that ended with the cracks
    int points = 0;   // every game's score together
    int best = 0;     // the best score of one game
    int chain = 0;    // the most gems one launch cleared
    int gems = 0;     // gems cleared
    int level = 0;    // the furthest level reached
    int bombs = 0;    // bombs set off
    int jokers = 0;   // jokers used up in a group
    int seconds = 0;  // time in play, the menu not counted

    // THIS with OTHER added: counts add up (held at the largest number the file takes), bests
    // take the larger.
    PlayStats plus(const PlayStats& other) const;
    bool empty() const { return *this == PlayStats{}; }
    bool operator==(const PlayStats&) const = default;
};

PlayStats readPlayStats(const Profile& profile);
// Writes every figure (one step when inside a batch). Throws as Profile's writes do.
void writePlayStats(Profile& profile, const PlayStats& stats);
// Adds ADDED to the figures the file holds when the write comes, kept until it is written: now
// when WRITE_NOW, else with the next write. Throws the refused write; the figures then wait for
// the next write.
void addPlayStats(Profile& profile, const PlayStats& added, bool writeNow = true);

// This game's figures as it goes, until they are added to [Stats]: when it ends (the cracks, or a
// new game over one under way), and what a game still in progress has done at the close.
class GameTally {
  public:
    // A bar of this game was launched in this run.
    void launched() { touched_ = true; }
    bool touched() const { return touched_; }
    // One beat of the time in play, every BEATMS milliseconds.
    void beat(int beatMs);
    void specialsUsed(int jokers, int bombs);
    void chainEnded(int gems);
    // The game ends with SCORE at STAGE (LOST: by the cracks); its figures go into [Stats] and the
    // tally starts again. Throws the refused write; the figures then wait for the next write.
    void gameEnded(Profile& profile, int score, int stage, bool lost);
    // The close: what the game in progress has tallied goes in with the close's write; it counts
    // as a game when it ends.
    void closing(Profile& profile);
    const PlayStats& figures() const { return stats_; }

  private:
    PlayStats stats_;
    bool touched_ = false;
    std::int64_t beats_ = 0;
};

}  // namespace lumcrest
