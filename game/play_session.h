// One game as it is played: the play state, the random sequence and the phase of play. The
// session takes the player's moves and the ticks of the clocks that pace play, applies the rules
// to the state and tells its listener what happened, in the order it happened: a clock to start or
// stop, a sound, a redraw, a caption to refresh, a stage change. It knows nothing of windows: the
// window runs one timer for each clock and does what the events say.
#pragma once

#include <bitset>
#include <cstdint>
#include <functional>

#include "game/game_state.h"
#include "game/random.h"

namespace lumcrest {

// What the game is doing. Some clocks may run side by side (a bar launched while the tube fills);
// the phase is the one that decides what the player may do, in this order of precedence.
enum class Phase : std::uint8_t {
    BarWaiting,   // the bar waits at home for the player's moves
    InFlight,     // the launched bar rises, one row a tick
    Settling,     // a chain settles, step by step
    LevelBanner,  // the new stage's banner shows; the bar may move but not fly
    GameOver,     // the cracks spread over a lost game
    StageEnd,     // the jar of a finished stage fills
    Exploding,    // the whole board bursts after the jar
    Filling,      // the progress tube catches up after a chain
};

// The clocks that pace play. Each is one of the window's timers.
enum class Clock : std::uint8_t {
    Flight,   // the bar's rise
    Banner,   // how long the level banner shows
    Settle,   // the settle steps of a chain
    Sparkle,  // the idle sparkle
    Jar,      // the jar of the stage end
    Blast,    // the explosion frames
    Fill,     // the progress tube
    Blink,    // the blink of jokers and bombs
    Crack,    // the cracks over a lost game
    Flash,    // the flash of every gem after a chain's third step
};
inline constexpr int kClockCount = 10;

// The sounds play asks for: the bar's cues and the effects.
enum class PlaySound : std::uint8_t {
    ShiftCue,
    RotateCue,
    LaunchCue,
    YouLose,
    GemsTouch,
    Excellent,
    Incredible,
    JarFilled,
};

struct PlayEvent {
    enum class Kind : std::uint8_t {
        Start,          // clock starts
        Stop,           // clock stops
        Sound,          // sound plays
        Redraw,         // the board is redrawn from the state (a redraw may start an explosion)
        Launched,       // the player launched a bar of this game
        CoverSparkle,   // the sparkle under the rising bar is covered
        TwinkleReset,   // the sparkle starts over
        FillMarked,     // the tube's mark is set where the chain starts (the state's Total)
        FillRestarts,   // the tube draws afresh from its mark
        ScoreChanged,   // the score's caption
        BoardCleared,   // a new game emptied the board: everything over it goes
        StageChanged,   // the stage's caption, at a new game
        LevelReached,   // the stage end: the banner's number (the side panel's waits for it)
        FinalScore,     // the final score of a lost game shows over the board
        Praise,         // a long chain's praise: count is how many gems it cleared
        SpecialsUsed,   // a settle step used count jokers and bombs bombs
        ChainEnded,     // a chain ended, having cleared count gems
        BurstStarts,    // the whole board's burst after the jar starts
        BannerShown,    // the level banner comes up over the field
        BannerHidden,   // the level banner goes away
        BackgroundSet,  // the stage's background changed
        WholeField,     // the whole field is shown again
    };
    Kind kind;
    Clock clock = Clock::Flight;
    PlaySound sound = PlaySound::ShiftCue;
    int count = 0;
    int bombs = 0;
    bool operator==(const PlayEvent&) const = default;
};

class PlaySession {
  public:
    using Listener = std::function<void(const PlayEvent&)>;

    // Who hears the events; nothing hears them until one is set.
    void setListener(Listener l) { listener_ = std::move(l); }

    GameState& state() { return play_; }
    const GameState& state() const { return play_; }
    Random& random() { return rng_; }
    Phase phase() const;
    // Whether a clock that decides the phase runs (the bar's flight, the settle steps, the fill,
    // the jar, the banner, the cracks); the animations' clocks are the board view's to stop.
    bool running(Clock c) const { return running_[index(c)]; }
    // The bar is in the air: the saved game stores it at home.
    bool barInFlight() const { return phase() == Phase::InFlight; }

    // The player's moves (refused, with no event, where the phase does not allow them).
    void shift(int dx);
    void rotate();
    void launch();

    // The clocks' ticks and the ends of the animations that pace play.
    void flightTick();
    void settleTick();
    void fillEnded();  // the tube has caught up: a finished stage ends
    void jarEnded();   // the jar is full: the whole board bursts
    // An explosion's last frame; BANNER: it was the stage end's burst, and the banner comes up.
    void blastEnded(bool banner);
    void bannerEnded();
    void crackTick();  // the idle animations stay off while the board cracks
    void cracksEnded();

    // Starts or stops clock C from outside play, for a scene set up by hand (a test); the window's
    // timer follows as it follows play.
    void setClock(Clock c, bool on) { on ? start(c) : stop(c); }

    // A new game from SEED; the one in progress is dropped.
    void newGame(std::uint32_t seed);
    // The stage is done: the jar fills and the next stage is set up behind it.
    void stageEnd();

  private:
    static constexpr std::size_t index(Clock c) { return static_cast<std::size_t>(c); }
    void emit(PlayEvent e) const;
    void emit(PlayEvent::Kind k) const { emit(PlayEvent{k}); }
    void start(Clock c);
    void stop(Clock c);
    void sound(PlaySound s) const;
    void spawnAndTestLoss();
    void lose();
    void endChain();

    GameState play_;
    Random rng_;
    std::bitset<kClockCount> running_;
    bool burst_ = false;  // the stage end's burst runs
    Listener listener_;
};

}  // namespace lumcrest
