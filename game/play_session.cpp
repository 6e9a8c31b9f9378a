#include "game/play_session.h"

#include <algorithm>
#include <utility>

#include "game/bar_rules.h"
#include "game/board_geometry.h"
#include "game/matching.h"
#include "game/settle.h"
#include "game/stages.h"

namespace lumcrest {

namespace {

// The clocks whose running decides the phase; the others are animations the board view also
// starts and stops on its own.
constexpr bool decidesPhase(Clock c) {
    return c == Clock::Flight || c == Clock::Banner || c == Clock::Settle || c == Clock::Jar ||
           c == Clock::Fill || c == Clock::Crack;
}

std::pair<int, int> specialsOnBoard(const GameState& s) {
    std::pair<int, int> n{0, 0};
    for (int x = kFirstX; x <= kLastX; ++x)
        for (int y = kFirstY; y <= kLastY; ++y) {
            const int v = s.cellAt(x, y);
            if (v == kJoker) ++n.first;
            if (v == kBomb) ++n.second;
        }
    return n;
}

}  // namespace

Phase PlaySession::phase() const {
    if (running(Clock::Flight)) return Phase::InFlight;
    if (running(Clock::Settle)) return Phase::Settling;
    if (running(Clock::Banner)) return Phase::LevelBanner;
    if (running(Clock::Crack)) return Phase::GameOver;
    if (running(Clock::Jar)) return Phase::StageEnd;
    if (burst_) return Phase::Exploding;
    if (running(Clock::Fill)) return Phase::Filling;
    return Phase::BarWaiting;
}

void PlaySession::emit(PlayEvent e) const {
    if (listener_) listener_(e);
}

void PlaySession::start(Clock c) {
    if (decidesPhase(c)) running_.set(index(c));
    emit(PlayEvent{PlayEvent::Kind::Start, c});
}

void PlaySession::stop(Clock c) {
    if (decidesPhase(c)) running_.reset(index(c));
    emit(PlayEvent{PlayEvent::Kind::Stop, c});
}

void PlaySession::sound(PlaySound s) const {
    PlayEvent e{PlayEvent::Kind::Sound};
    e.sound = s;
    emit(e);
}

void PlaySession::shift(int dx) {
    const Phase p = phase();
    if (p == Phase::InFlight || p == Phase::Settling || play_.gameOver) return;
    if (barAtSide(play_, dx)) return;
    // A gem in the way stops the bar, but the board is still redrawn.
    const int from = play_.shapeX[1];
    shiftBar(play_, dx);
    if (play_.shapeX[1] != from) sound(PlaySound::ShiftCue);
    emit(PlayEvent::Kind::Redraw);
}

void PlaySession::rotate() {
    const Phase p = phase();
    if (p == Phase::InFlight || p == Phase::Settling || play_.gameOver) return;
    rotateBar(play_);
    sound(PlaySound::RotateCue);
    emit(PlayEvent::Kind::Redraw);
}

void PlaySession::launch() {
    // The banner holds the bar back; it may still be moved.
    const Phase p = phase();
    if (p == Phase::InFlight || p == Phase::Settling || p == Phase::LevelBanner) return;
    if (play_.gameOver) return;
    emit(PlayEvent::Kind::Launched);
    start(Clock::Flight);
    sound(PlaySound::LaunchCue);
}

void PlaySession::lose() {
    sound(PlaySound::YouLose);
    start(Clock::Crack);
    emit(PlayEvent::Kind::FinalScore);
}

void PlaySession::spawnAndTestLoss() {
    drawNextBar(play_, rng_);
    if (!noRoomToLaunch(play_)) return;
    play_.gameOver = true;
    lose();
}

void PlaySession::flightTick() {
    emit(PlayEvent::Kind::CoverSparkle);
    const Flight flight = riseBar(play_);
    if (flight == Flight::Blocked) {
        stop(Clock::Flight);
        lose();
        emit(PlayEvent::Kind::TwinkleReset);
        return;
    }
    const bool landed = flight == Flight::Landed;
    if (landed && !play_.matchFound) {
        sound(PlaySound::GemsTouch);
        spawnAndTestLoss();
        if (play_.gameOver) {
            // The new bar is not shown: the cracks take over the board.
            stop(Clock::Flight);
            emit(PlayEvent::Kind::TwinkleReset);
            return;
        }
    }
    emit(PlayEvent::Kind::Redraw);
    if (landed) {
        stop(Clock::Flight);
        if (play_.matchFound) {
            play_.settleSkip = true;
            emit(PlayEvent::Kind::FillMarked);
            stop(Clock::Sparkle);
            stop(Clock::Blink);
            start(Clock::Settle);
        }
    }
    emit(PlayEvent::Kind::TwinkleReset);
}

void PlaySession::endChain() {
    if (play_.chainCleared >= 7) {
        sound(play_.chainCleared >= 10 ? PlaySound::Incredible : PlaySound::Excellent);
        PlayEvent praise{PlayEvent::Kind::Praise};
        praise.count = play_.chainCleared;
        emit(praise);
    }
    PlayEvent ended{PlayEvent::Kind::ChainEnded};
    ended.count = play_.chainCleared;
    emit(ended);
    stop(Clock::Settle);
    emit(PlayEvent::Kind::FillRestarts);
    start(Clock::Sparkle);
    start(Clock::Blink);
    start(Clock::Fill);
}

void PlaySession::settleTick() {
    if (!settleTickActs(play_)) return;
    const std::pair<int, int> before = specialsOnBoard(play_);
    settleStep(play_);
    // A settle step only takes gems away: the jokers and bombs it took were used in groups.
    const std::pair<int, int> after = specialsOnBoard(play_);
    PlayEvent used{PlayEvent::Kind::SpecialsUsed};
    used.count = std::max(0, before.first - after.first);
    used.bombs = std::max(0, before.second - after.second);
    emit(used);
    emit(PlayEvent::Kind::ScoreChanged);

    bool lost = false;
    if (play_.landedCount == 3 && !play_.matchFound) {
        // Nothing left to clear: the next bar comes in, and may find no room.
        spawnAndTestLoss();
        lost = play_.gameOver;
    }
    if (!lost && play_.settleSteps == 3) start(Clock::Flash);

    if (play_.matchFound && play_.Gemsleft > 0)
        markGroups(play_);
    else
        endChain();
    emit(PlayEvent::Kind::Redraw);
}

void PlaySession::fillEnded() {
    // A finished stage is handed to the stage end once the tube has caught up.
    if (play_.Gemsleft < 1) stageEnd();
    stop(Clock::Fill);
}

void PlaySession::stageEnd() {
    stop(Clock::Blink);
    stop(Clock::Sparkle);
    stop(Clock::Flight);
    stop(Clock::Settle);
    emit(PlayEvent::Kind::Redraw);
    sound(PlaySound::JarFilled);
    advanceStage(play_, rng_);
    emit(PlayEvent::Kind::LevelReached);
    start(Clock::Jar);
}

void PlaySession::jarEnded() {
    emit(PlayEvent::Kind::BurstStarts);
    burst_ = true;
    start(Clock::Blast);
    stop(Clock::Jar);
}

void PlaySession::blastEnded(bool banner) {
    if (banner) {
        emit(PlayEvent::Kind::BannerShown);
        start(Clock::Banner);
    }
    burst_ = false;
    stop(Clock::Blast);
}

void PlaySession::bannerEnded() {
    emit(PlayEvent::Kind::BannerHidden);
    if (chooseBackground(play_, rng_)) emit(PlayEvent::Kind::BackgroundSet);
    emit(PlayEvent::Kind::Redraw);
    emit(PlayEvent::Kind::WholeField);
    start(Clock::Blink);
    start(Clock::Sparkle);
    stop(Clock::Banner);
}

void PlaySession::crackTick() {
    // The idle animations would draw whole gems over the cracks.
    stop(Clock::Sparkle);
    stop(Clock::Blink);
}

void PlaySession::cracksEnded() {
    stop(Clock::Sparkle);
    stop(Clock::Blink);
    stop(Clock::Crack);
}

void PlaySession::newGame(std::uint32_t seed) {
    rng_.seed(seed);
    startNewGame(play_, rng_);
    emit(PlayEvent::Kind::BoardCleared);
    emit(PlayEvent::Kind::StageChanged);
    emit(PlayEvent::Kind::ScoreChanged);
    emit(PlayEvent::Kind::Redraw);
    start(Clock::Sparkle);
    start(Clock::Blink);
}

}  // namespace lumcrest
