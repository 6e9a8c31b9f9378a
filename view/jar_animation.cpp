// The jar in the top-left corner celebrates a finished stage: its intro plays three times, the
// beam and the stars once, their tail twice more, while the progress bar drains away.
#include "app/form.h"

namespace lumcrest {

void TForm1::jartimerTimer() {
    // Slow intro, faster beam, the tail as fast as the timers go.
    if (jarFrame < 3)
        jartimer.setInterval(30);
    else if (jarFrame <= 15)
        jartimer.setInterval(15);
    else
        jartimer.setInterval(1);

    // An edited counter outside the animation starts it over rather than running for ever.
    if (jarFrame < 0 || jarFrame > 27) jarFrame = 0;

    if (jarFrame < 27) {
        if (jarIntroLoops < 2 && jarFrame == 3) {
            ++jarIntroLoops;
            jarFrame = 0;
        }
        if (jarHalfTick == 0) {
            surface().drawFrame(jarbacks, Background, 0, 0);
            surface().drawFrame(jar, jarFrame + 1, 0, 0);
        }
        if (drainLine >= 100 && jarFrame >= 9) {
            surface().fillWithBrush(tk::Rect{kTubeLeft, drainLine - 7, kTubeWidth, 7});
            drainLine -= 5;
        }
        if (++jarHalfTick >= 2) {
            ++jarFrame;
            jarHalfTick = 0;
        }
    }
    if (jarFrame == 27) {
        if (jarTailLoops < 2) {
            jarFrame = 16;
            ++jarTailLoops;
            return;
        }
        surface().drawFrame(jarbacks, Background, 0, 0);
        surface().drawFrame(jar, 0, 0, 0);
        jarFrame = 0;
        jarTailLoops = 0;
        jarIntroLoops = 0;
        drainLine = 464;
        jarHalfTick = 0;
        jarEnd();
    }
}

}  // namespace lumcrest
