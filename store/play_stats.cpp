#include "store/play_stats.h"

#include <algorithm>
#include <climits>

#include "store/settings_schema.h"

namespace lumcrest {

namespace {

int sum(int a, int b) {
    const long long s = static_cast<long long>(a) + b;
    return static_cast<int>(std::clamp<long long>(s, 0, INT_MAX));
}

// Each figure with its row, for reading and writing alike.
template <typename Stats, typename F>
void eachFigure(Stats& s, F f) {
    using namespace setting;
    f(kStatGames, s.played);
    f(kStatLost, s.lost);
    f(kStatPoints, s.points);
    f(kStatBest, s.best);
    f(kStatChain, s.chain);
    f(kStatGems, s.gems);
    f(kStatLevel, s.level);
    f(kStatBombs, s.bombs);
    f(kStatJokers, s.jokers);
    f(kStatSeconds, s.seconds);
}

}  // namespace

PlayStats PlayStats::plus(const PlayStats& o) const {
    PlayStats s;
    s.played = sum(played, o.played);
    s.lost = sum(lost, o.lost);
    s.points = sum(points, o.points);
    s.best = std::max(best, o.best);
    s.chain = std::max(chain, o.chain);
    s.gems = sum(gems, o.gems);
    s.level = std::max(level, o.level);
    s.bombs = sum(bombs, o.bombs);
    s.jokers = sum(jokers, o.jokers);
    s.seconds = sum(seconds, o.seconds);
    return s;
}

PlayStats readPlayStats(const Profile& profile) {
    PlayStats s;
    eachFigure(s, [&](const SettingKey& row, int& v) { v = readSetting(profile, row); });
    return s;
}

void writePlayStats(Profile& profile, const PlayStats& stats) {
    eachFigure(stats, [&](const SettingKey& row, const int& v) { writeSetting(profile, row, v); });
}

void addPlayStats(Profile& profile, const PlayStats& added, bool writeNow) {
    if (added.empty()) return;
    profile.keepUntilWritten(
        [added](Profile& p) { writePlayStats(p, readPlayStats(p).plus(added)); });
    if (writeNow) profile.writeUnwritten();
}

void GameTally::beat(int beatMs) {
    // The time in play goes by the field's own beat, so that a recording replays to the same
    // figures: the clock of a replay is not the clock of the play.
    ++beats_;
    stats_.seconds = static_cast<int>(beats_ * beatMs / 1000);
}

void GameTally::specialsUsed(int jokers, int bombs) {
    stats_.jokers += jokers;
    stats_.bombs += bombs;
}

void GameTally::chainEnded(int gems) {
    stats_.gems += gems;
    stats_.chain = std::max(stats_.chain, gems);
}

void GameTally::gameEnded(Profile& profile, int score, int stage, bool lost) {
    PlayStats ended = stats_;
    ended.played = 1;
    ended.lost = lost ? 1 : 0;
    ended.points = score;
    ended.best = score;
    ended.level = stage;
    *this = GameTally{};
    addPlayStats(profile, ended);
}

void GameTally::closing(Profile& profile) {
    if (!touched_) return;
    PlayStats partial = stats_;
    stats_ = PlayStats{};
    beats_ = 0;
    // The game goes on at the next start; it counts as played when it ends. The saved game's
    // write takes these figures with it.
    addPlayStats(profile, partial, false);
}

}  // namespace lumcrest
