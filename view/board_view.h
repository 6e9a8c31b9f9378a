// The field as the player sees it: the gems of a play state, the preview, the progress tube, the
// MENU button and every animation over them, drawn onto the window's surface with the field's
// image lists. It is handed the play state it draws at each call; what it remembers is only
// what it drew (the cells as last drawn, the animations' phases). The window decides when to
// draw, from its timers, and plays the sounds: a call that starts or ends something says so.
#pragma once

#include <cstdint>

#include "assets/catalogue.h"
#include "game/game_state.h"
#include "game/random.h"
#include "toolkit/image_list.h"
#include "toolkit/surface.h"
#include "view/field_effects.h"

namespace lumcrest {

class BoardView {
  public:
    explicit BoardView(tk::Surface& surface) : surface_(surface) {}
    BoardView(const BoardView&) = delete;
    BoardView& operator=(const BoardView&) = delete;

    // The field's image lists from the pictures forged into the program (decoded when first
    // drawn). Throws tk::Error when one is missing.
    void loadPictures();
    // Decodes the image lists every game draws, as a game starts, so that none is decoded at its
    // first frame in play.
    void decodePlayPictures() const;

    // --- The board (view/board_drawing.cpp) -------------------------------------------------
    // Draws the cells whose value changed since they were last drawn, the preview, and the first
    // frame of the explosion of every marked gem: true when an explosion started (its sound and
    // its timer are the window's).
    bool drawBoard(GameState& g, Random& rng, bool calm);
    // Draws the whole field again over the background: the board (unless an explosion is
    // running, which draws its own frames), the MENU button and the tube. The board's result.
    bool repaint(GameState& g, Random& rng, bool calm, bool exploding);
    // Fills the cell's square with the stage background.
    void eraseCell(int c, int r);
    // Has every cell of rows FROMY..kLastY drawn afresh at the next board drawing.
    void forgetCells(int fromY);
    // Draws the gem under the sparkle whole again and ends the sparkle.
    void coverSparkle(const GameState& g);
    // The MENU button on the field: at rest (0), lit (1); pressed shows it over the background.
    void drawMenuButton(int look);
    void pressMenuButton();

    // --- Explosions (view/explosion.cpp) -------------------------------------------------------
    enum class BlastTick { Going, Over, OverBeforeBanner };
    // One step of the running explosion; at its end the exploding cells are bare, and the
    // stage-end explosion asks for the level banner.
    BlastTick explosionTick(GameState& g, bool calm);
    // The stage end's explosion over the whole board, in a look of RNG's choosing: its first
    // step in the board's middle.
    void startStageEndBurst(const GameState& g, Random& rng, bool calm);

    // --- Effect animations (view/) -----------------------------------------------------------
    // The tube growing to TOTAL after a chain: false once it has caught up.
    bool fillTick(int total);
    // The flash of every resting gem after a chain's third step: true at its end.
    bool flashTick(const GameState& g, bool calm);
    // The jar of the stage end over BACKGROUND's corner: the timer's interval for this tick, and
    // the tick itself, true when the jar has finished.
    int jarInterval() const;
    // The jar as it stands now (its frame at rest once it has finished).
    tk::Image jarPicture() const;
    bool jarTick(int background);
    // The cracks of a lost game, row by row from the bottom: true when every row has cracked.
    bool crackTick(const GameState& g, bool calm);

    // --- Idle animations (view/sparkle.cpp) ----------------------------------------------------
    struct SparkleTick {
        int interval = 0;       // the sparkle timer's new interval, 0 to keep it
        bool sendWave = false;  // a wave of light should cross the full board now
    };
    SparkleTick sparkleTick(const GameState& g, Random& rng, bool waveRunning);
    // The blink of jokers and bombs in the launch row and the preview.
    void blinkSpecials(const GameState& g);
    // One column further of the wave of light: true when it has crossed the board.
    bool waveTick(const GameState& g);

    // --- Image lists ----------------------------------------------------------------------------
    tk::ImageList Blockimage;  // the gems, the joker and the bomb, 48 x 48, by cell value
    tk::ImageList firstanim;   // the idle sparkle's glint, six frames a kind
    tk::ImageList lightanim;   // the idle sparkle's sheen, nine frames a kind
    tk::ImageList waveanim;    // lit gems for the wave and the chain's flash, two frames a kind
    tk::ImageList cracks;      // the cracked gems of a lost game
    tk::ImageList gemsblast2;  // the explosion frames, in three looks
    tk::ImageList jar;         // the jar that drains the progress tube at a stage end
    tk::ImageList jarbacks;    // the field behind the jar, one frame per background
    tk::ImageList menulist;    // the MENU button on the field: at rest, lit, pressed

    // --- What the view drew, and where its animations stand ------------------------------------
    int shownCells[kGridSize] = {};  // value last drawn in the cell; -5 forces a redraw
    bool paintAll = false;           // the board drawing draws every gem
    bool blastStarted = false;       // the last board drawing started an explosion
    int blastFrame = 0;              // the explosion's step
    int blastStyle = 0;              // the explosion's look, one of three
    bool levelPending = false;       // the running explosion is the stage end's
    int fillMark = 0;                // the tube's height when the chain began
    int fillDrawn = 0;               // how far the tube has grown since
    int twinklePhase = 0;            // the sparkle's step, 0 for none
    int twinkleColumn = 0;
    int twinkleRow = 0;
    int twinkleLight = 0;  // 0 a glint, 1 a sheen
    int specialBlinkPhase = 0;
    int crackStep = 0;
    int crackRow = 1;
    int flashStep = 0;
    int waveColumn = 1;
    int jarFrame = 0;
    int jarTailLoops = 0;
    int jarIntroLoops = 0;
    int drainLine = 464;
    int jarHalfTick = 0;
    std::uint8_t menuLit = 0;  // the MENU button is lit
    // The effects over the field, when the window has them: the bursts that spill out of the
    // exploding cells, the points, the chain's count (view/blast_effects.cpp).
    FieldEffects* effects = nullptr;
    // The colour a gem of kind V glows in.
    tk::Argb gemColour(int v);

  private:
    // The bursts, rings, points and chain count of the explosion drawBoard just started.
    void announceBlast(const GameState& g, bool calm);
    tk::Argb gemColours_[kBomb + 1] = {};
    // The frames the flash, the explosions and the cracks are drawn from: the softened ones in
    // calm mode (view/calm_drawing.cpp).
    const tk::ImageList& flashFrames(bool calm);
    const tk::ImageList& burstFrames(bool calm);
    const tk::ImageList& crackFrames(bool calm);
    // Calm mode's softened copies, made the first time calm mode draws them.
    tk::ImageList calmWave_, calmBursts_, calmCracks_;

    // The sparkle's pieces (view/sparkle.cpp).
    void startSparkle(const GameState& g, Random& rng, bool waveRunning, SparkleTick& out);
    int sparkleGem(const GameState& g) const;
    void drawAtSparkle(const tk::ImageList& list, int frame);
    void glint(int g, int i) { drawAtSparkle(firstanim, asset::kGlintSteps * (g - 1) + i); }
    void sheen(int g, int i) { drawAtSparkle(lightanim, asset::kSheenSteps * (g - 1) + i); }

    tk::Surface& surface_;
};

}  // namespace lumcrest
