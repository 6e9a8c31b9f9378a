// The window's side of play: the player's moves and the play clocks' ticks go to the play
// session, and what the session says happened is done here: the timers started and stopped, the
// sounds, the redraws, the captions, the effects over the field and the player's figures.
#include "app/form.h"
#include "assets/catalogue.h"
#include "game/walls.h"

namespace lumcrest {

namespace {

// Where a long chain's praise stands in the well, and how long.
constexpr int kPraiseY = 250;
constexpr int kPraiseMs = 1800;
// The final score of a lost game, over the cracking board until the menu comes.
constexpr int kFinalScoreY = 280;
constexpr int kFinalScoreMs = 3000;

}  // namespace

tk::Timer& TForm1::timerOf(Clock c) {
    switch (c) {
        case Clock::Flight: return Timer1;
        case Clock::Banner: return Animtimer;
        case Clock::Settle: return Cycletimer;
        case Clock::Sparkle: return Atimer;
        case Clock::Jar: return jartimer;
        case Clock::Blast: return blasttimer;
        case Clock::Fill: return filltimer;
        case Clock::Blink: return vertimer;
        case Clock::Crack: return cracktimer;
        case Clock::Flash: return flashtimer;
    }
    return Timer1;
}

void TForm1::playSound(PlaySound s) {
    switch (s) {
        case PlaySound::ShiftCue: playCue(asset::kShiftCue.file); break;
        case PlaySound::RotateCue: playCue(asset::kRotateCue.file); break;
        case PlaySound::LaunchCue: playCue(asset::kLaunchCue.file); break;
        case PlaySound::YouLose: playEffect(asset::kYouLose.file); break;
        case PlaySound::GemsTouch: playEffect(asset::kGemsTouch.file); break;
        case PlaySound::Excellent: playEffect(asset::kExcellent.file); break;
        case PlaySound::Incredible: playEffect(asset::kIncredible.file); break;
        case PlaySound::JarFilled: playEffect(asset::kJarFilled.file); break;
    }
}

void TForm1::playEvent(const PlayEvent& e) {
    using K = PlayEvent::Kind;
    switch (e.kind) {
        case K::Start: timerOf(e.clock).setEnabled(true); break;
        case K::Stop: timerOf(e.clock).setEnabled(false); break;
        case K::Sound: playSound(e.sound); break;
        case K::Redraw: drawBoard(); break;
        case K::Launched: tally.launched(); break;
        case K::CoverSparkle: fieldView.coverSparkle(play); break;
        case K::TwinkleReset: fieldView.twinklePhase = 0; break;
        case K::FillMarked: fieldView.fillMark = play.Total; break;
        case K::FillRestarts: fieldView.fillDrawn = 0; break;
        case K::ScoreChanged: Label1.setCaption(std::to_string(play.Score)); break;
        case K::SpecialsUsed: tally.specialsUsed(e.count, e.bombs); break;
        case K::ChainEnded: tally.chainEnded(e.count); break;
        default: fieldEvent(e); break;
    }
}

void TForm1::fieldEvent(const PlayEvent& e) {
    using K = PlayEvent::Kind;
    switch (e.kind) {
        case K::FinalScore:
            fieldEffects.dimWell();
            fieldEffects.mark(tk::tr("Final score: %s", std::to_string(play.Score)), kFinalScoreY,
                              44, kFinalScoreMs, true);
            break;
        case K::Praise:
            fieldEffects.mark(e.count >= 10 ? tk::tr("Incredible!") : tk::tr("Excellent!"),
                              kPraiseY, 64, kPraiseMs);
            break;
        case K::BoardCleared:
            fieldEffects.clear();
            // Every cell the new game emptied is drawn afresh.
            fieldView.forgetCells(kClearedFromY);
            break;
        case K::StageChanged: lblstage.setCaption(std::to_string(play.Stage)); break;
        case K::LevelReached: lblsetlevel.setCaption(std::to_string(play.Stage)); break;
        case K::BurstStarts:
            fieldView.startStageEndBurst(play, session.random(), settings.calmMode);
            playCue(asset::kStageBurstCue.file);
            break;
        default: bannerEvent(e); break;
    }
}

}  // namespace lumcrest
