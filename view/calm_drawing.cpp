// Calm mode draws the animations that light up the whole board softened: the flash after a
// chain's third step, every explosion (the stage end's wave over the whole board among them) and
// the cracks of a lost game. Their frames are copies of the forge's, brought most of the way back
// to what lay there before (the plain gem, or the bare background under a faint burst), so no
// tick changes a large area by much. Timers, sounds and rules stay as they are.
#include <algorithm>
#include <cmath>

#include "view/board_view.h"

namespace lumcrest {

namespace {

// How much of an effect's own look calm mode keeps.
constexpr double kCalmHighlight = 0.22;  // of the flash's highlight over the gem
constexpr double kCalmBurst = 0.28;      // of an explosion's opacity over the background
constexpr double kCalmCrack = 0.4;       // of a crack's difference from the whole gem

std::uint32_t channel(tk::Argb c, int shift) {
    return (c >> shift) & 0xff;
}

// The colour T of the way from A to B, every channel and alpha alike.
tk::Argb mix(tk::Argb a, tk::Argb b, double t) {
    tk::Argb out = 0;
    for (int shift : {0, 8, 16, 24}) {
        const double v = channel(a, shift) + (double(channel(b, shift)) - channel(a, shift)) * t;
        out |= std::uint32_t(std::clamp(std::lround(v), 0L, 255L)) << shift;
    }
    return out;
}

// EFFECT's frames brought toward the gem each is drawn over: frame j lies over gem kind
// j / PERKIND + 1 and keeps T of its difference from it.
tk::ImageList towardGems(const tk::ImageList& gems, const tk::ImageList& effect, int perKind,
                         double t) {
    const tk::Image& from = gems.strip();
    tk::Image out = effect.strip();
    for (int j = 0; j < effect.count(); ++j) {
        const tk::Rect f = effect.frameRect(j), g = gems.frameRect(j / perKind + 1);
        if (f.w <= 0 || g.w <= 0) continue;
        for (int y = 0; y < std::min(f.h, g.h); ++y)
            for (int x = 0; x < std::min(f.w, g.w); ++x)
                out.setPixel(f.x + x, f.y + y,
                             mix(from.pixel(g.x + x, g.y + y), out.pixel(f.x + x, f.y + y), t));
    }
    return tk::ImageList(std::move(out), effect.frameWidth(), effect.frameHeight(), effect.count());
}

// LIST with every pixel's opacity scaled by T.
tk::ImageList faded(const tk::ImageList& list, double t) {
    tk::Image out = list.strip();
    for (tk::Argb& p : out.pixels()) {
        const auto a = std::uint32_t(std::lround(channel(p, 24) * t));
        p = (p & 0x00ffffffu) | (a << 24);
    }
    return tk::ImageList(std::move(out), list.frameWidth(), list.frameHeight(), list.count());
}

}  // namespace

const tk::ImageList& BoardView::flashFrames(bool calm) {
    if (!calm) return waveanim;
    if (calmWave_.count() == 0) calmWave_ = towardGems(Blockimage, waveanim, 2, kCalmHighlight);
    return calmWave_;
}

const tk::ImageList& BoardView::burstFrames(bool calm) {
    if (!calm) return gemsblast2;
    if (calmBursts_.count() == 0) calmBursts_ = faded(gemsblast2, kCalmBurst);
    return calmBursts_;
}

const tk::ImageList& BoardView::crackFrames(bool calm) {
    if (!calm) return cracks;
    if (calmCracks_.count() == 0) calmCracks_ = towardGems(Blockimage, cracks, 3, kCalmCrack);
    return calmCracks_;
}

}  // namespace lumcrest
