// What is drawn over the field for a moment and then goes: each cleared gem's burst spilling over
// its neighbours, a bomb's ring across the well, the points a group earned rising from it, a
// chain's count, the praise of a long chain, the stage end's jar and stars, the plaque of a new
// level, the new sky fading in and a lost game's final score. None of it is part of the play state
// or of the window's surface: it is composed over the surface when a frame is shown, runs on a
// timer of its own and takes no input, so no rule, timer or answer of the game waits for it.
#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "toolkit/control.h"
#include "toolkit/image.h"

namespace lumcrest {

class FieldEffects : public tk::Control {
  public:
    // The effects' clock moves this much at each tick of their timer.
    static constexpr int kTickMs = 30;
    // How long a gem's burst lasts, and the widest it gets (its glow's diameter).
    static constexpr int kBurstMs = 420;
    static constexpr int kBurstSpan = 120;

    // Over the whole of PARENT (the main window), with nothing to draw.
    explicit FieldEffects(tk::Control* parent);

    bool passesPointer() const override { return true; }
    void paint(tk::Canvas& canvas) override;

    // --- What the field starts --------------------------------------------------------------
    // A cleared gem's burst centred on (X, Y) in the gem's COLOUR, beginning DELAYMS from now:
    // a white-hot core and a flash (left out in CALM mode), a glow and shards that fly one to two
    // cells and fade. A SMALL burst (one of a whole board's) glows less far and has fewer shards.
    void burst(int x, int y, tk::Argb colour, int delayMs, bool calm, bool small = false);
    // A bomb's ring of light from (X, Y) across the well; out of CALM mode the well shakes by
    // two to three pixels for kShakeMs as well.
    void ring(int x, int y, bool calm);
    static constexpr int kShakeMs = 210;
    // How far the well is moved at this moment of its shake (0, 0 when it is still).
    std::pair<int, int> shakeOffset() const;
    // TEXT (a group's points) at SIZE pixels rising from (X, Y) and fading, inside the well's
    // rim. A figure still rising from an earlier step of a chain is never covered: the new one
    // stands above its whole path, or below it when the rim leaves no room above (and the older
    // ones give way when there is none below either).
    void risingFigure(int x, int y, const std::string& text, int size = kFigureSize);
    static constexpr int kFigureSize = 26;
    // A mark that pops in at height Y (from 0.6 of its size past 1.1 to its size over
    // kPopMs) and stays a while: a chain's count (SIZE small) or a title (large), in gold. A new
    // mark at the same height replaces the one there. On a PLATE, the words stand on a dark plaque
    // that grows with them, to read over busy gems.
    void mark(const std::string& text, int y, int size, int lifeMs, bool plate = false);
    static constexpr int kPopMs = 210;
    // The stage end's jar: FRAME of the jar drawn large in the well, with stars flying out of it
    // over the board; END lets it fade out.
    void jar(const tk::Image& frame, bool end);
    // The plaque behind the level banner's words, from their rectangle.
    void plaque(tk::Rect words, bool on);
    // The window's surface as it was before the sky changed: it fades out over the new one.
    void fadeFrom(const tk::Image& surface);
    // A lost game's well darkens to half its light over kDimMs and stays dark until clear(),
    // so the cracks and the final score stand out over it.
    void dimWell();
    static constexpr int kDimMs = 300;
    // The whole window as it last showed (a composed frame), fading out over kCurtainMs over
    // whatever comes next: the table or the menu after a lost game. It lies above every panel,
    // in the top layer the owner gives, and clear() leaves it running.
    void curtainFrom(const tk::Image& frame);
    static constexpr int kCurtainMs = 400;
    void setTopLayer(class TopLayer* layer) { top_ = layer; }

    // Runs whenever an effect starts: the owner starts the effects' timer.
    std::function<void()> onStart;

    // --- The clock ----------------------------------------------------------------------------
    // Moves every effect one tick on and marks the areas that change: false once nothing is left
    // to draw (the timer may stop).
    bool tick();
    bool running() const {
        return !items_.empty() || fade_ != nullptr || plaqueOn_ || dimMs_ > 0 || shakeMs_ > 0 ||
               curtainOn();
    }
    // Drops every effect at once (a new game, the menu).
    void clear();
    // How many effects are under way (for the tests).
    int count() const { return int(items_.size()); }

  private:
    enum class Kind { Burst, Ring, Rise, Mark, Jar };
    struct Item {
        Kind kind = Kind::Burst;
        int x = 0, y = 0;
        tk::Argb colour = 0;
        int age = 0;  // ms; negative while it waits to begin
        int life = 0;
        bool calm = false;
        bool small = false;
        bool ending = false;  // a jar letting go
        bool plate = false;   // a mark on a plaque
        int endAge = 0;
        std::uint32_t seed = 0;
        tk::Rect extent;  // every pixel it may ever touch
        std::shared_ptr<const tk::Image> picture;
    };
    void changed(tk::Rect r);
    void started() {
        if (onStart) onStart();
    }
    void drawItem(tk::Canvas& canvas, const Item& item) const;
    void drawBurst(tk::Canvas& canvas, const Item& item, int t) const;
    void drawShards(tk::Canvas& canvas, const Item& item, double u) const;
    void shockRing(tk::Canvas& canvas, double cx, double cy, double r, double w, tk::Argb c,
                   int strength) const;
    void drawRing(tk::Canvas& canvas, const Item& item, int t) const;
    void drawText(tk::Canvas& canvas, const Item& item, int t) const;
    void drawJar(tk::Canvas& canvas, const Item& item, int t) const;
    void drawFade(tk::Canvas& canvas) const;
    void drawPlaque(tk::Canvas& canvas) const;
    void drawDim(tk::Canvas& canvas) const;
    void drawShake(tk::Canvas& canvas) const;
    bool curtainOn() const;

    std::vector<Item> items_;
    std::uint32_t seed_ = 1;
    // The old sky, at half size, and how far it has faded.
    std::unique_ptr<tk::Image> fade_;
    int fadeMs_ = 0;
    tk::Rect plaqueRect_;
    bool plaqueOn_ = false;
    int plaqueMs_ = 0;
    // How long the well has been darkening (0: not dark).
    int dimMs_ = 0;
    // How long the well has been shaking (0: still).
    int shakeMs_ = 0;
    class TopLayer* top_ = nullptr;
};

// The layer above every panel of the window: the last frame of a scene fading out over the next
// one. It takes no input and draws nothing when no curtain is running.
class TopLayer : public tk::Control {
  public:
    explicit TopLayer(tk::Control* parent);
    bool passesPointer() const override { return true; }
    bool windowed() const override { return true; }
    void paint(tk::Canvas& canvas) override;
    // FRAME (the whole window) at half size starts fading out.
    void start(const tk::Image& frame);
    // One tick of the fade: false once it is over.
    bool tick(int ms);
    bool running() const { return picture_ != nullptr; }

  private:
    std::unique_ptr<tk::Image> picture_;
    int ms_ = 0;
};

}  // namespace lumcrest
