// The window's side of a game as a run of stages: a new game, the level banner and the change of
// background. The session sets up the stages; these members add the labels over the field and the
// sky.
#include <exception>

#include "app/form.h"
#include "toolkit/error.h"
#include "view/frame_sizes.h"

namespace lumcrest {

void TForm1::newGame() {
    // A game under way that the player leaves for a new one has ended too.
    std::exception_ptr unwritten;
    if (!session.state().gameOver && (tally.touched() || session.state().Score > 0)) {
        try {
            tally.gameEnded(profile_, session.state().Score, session.state().Stage, false);
        } catch (const tk::Error&) {
            unwritten = std::current_exception();
        }
    }
    session.newGame(seedNow());
    if (unwritten) std::rethrow_exception(unwritten);
}

void TForm1::bannerEvent(const PlayEvent& e) {
    using K = PlayEvent::Kind;
    switch (e.kind) {
        case K::BannerShown:
            // The side panel keeps the old stage's number until the banner names the new one.
            lblstage.setCaption(std::to_string(session.state().Stage));
            lblsetlevel.show();
            levelup.show();
            fieldEffects.plaque(levelup.windowRect().unite(lblsetlevel.windowRect()), true);
            break;
        case K::BannerHidden:
            lblsetlevel.hide();
            levelup.hide();
            fieldEffects.plaque(levelup.windowRect(), false);
            // The new sky fades in over the old one.
            if (surface().drawnOn()) fieldEffects.fadeFrom(surface().pixels());
            break;
        case K::BackgroundSet: installBackground(session.state().Background, kFrameRect); break;
        case K::WholeField: invalidateSurface(); break;
        default: break;
    }
}

}  // namespace lumcrest
