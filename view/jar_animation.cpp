// The jar in the top-left corner celebrates a finished stage: its intro plays three times, the
// beam and the stars once, their tail twice more, while the progress bar drains away.
#include <algorithm>

#include "view/board_view.h"

namespace lumcrest {

int BoardView::jarInterval() const {
    // Slow intro, faster beam, the tail as fast as the timers go.
    if (jarFrame < 3) return 30;
    if (jarFrame <= 15) return 15;
    return 1;
}

tk::Image BoardView::jarPicture() const {
    const int index = jarFrame > 0 && jarFrame < 27 ? jarFrame + 1 : 0;
    const tk::Rect f = jar.frameRect(index);
    tk::Image out(std::max(0, f.w), std::max(0, f.h));
    const tk::Image& strip = jar.strip();
    for (int y = 0; y < f.h; ++y)
        for (int x = 0; x < f.w; ++x) out.setPixel(x, y, strip.pixel(f.x + x, f.y + y));
    return out;
}

bool BoardView::jarTick(int background) {
    // An edited counter outside the animation starts it over rather than running for ever.
    if (jarFrame < 0 || jarFrame > 27) jarFrame = 0;

    if (jarFrame < 27) {
        if (jarIntroLoops < 2 && jarFrame == 3) {
            ++jarIntroLoops;
            jarFrame = 0;
        }
        if (jarHalfTick == 0) {
            surface_.drawFrame(jarbacks, background, 0, 0);
            surface_.drawFrame(jar, jarFrame + 1, 0, 0);
        }
        if (drainLine >= 100 && jarFrame >= 9) {
            surface_.fillWithBrush(tk::Rect{kTubeLeft, drainLine - 7, kTubeWidth, 7});
            drainLine -= 5;
        }
        if (++jarHalfTick >= 2) {
            ++jarFrame;
            jarHalfTick = 0;
        }
    }
    if (jarFrame != 27) return false;
    if (jarTailLoops < 2) {
        jarFrame = 16;
        ++jarTailLoops;
        return false;
    }
    surface_.drawFrame(jarbacks, background, 0, 0);
    surface_.drawFrame(jar, 0, 0, 0);
    jarFrame = 0;
    jarTailLoops = 0;
    jarIntroLoops = 0;
    drainLine = 464;
    jarHalfTick = 0;
    return true;
}

}  // namespace lumcrest
