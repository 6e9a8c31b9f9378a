// Scaling and fullscreen: every window shows its fixed-size frame at a whole-number scale chosen
// by the player or fitted to the desktop; the main window can fill the screen (smoothly scaled
// where a whole scale would leave the frame small).
#include "toolkit/application.h"
#include "toolkit/sdl/frame_scaling.h"
#include "toolkit/sdl/sdl_impl.h"
#include "toolkit/window.h"

namespace tk {

int SdlBackend::Impl::windowScale(SDL_Window* on) const {
    const bool chosen = scaleChoice >= 1 && scaleChoice <= sdl::kMaxScale;
    int display = on ? SDL_GetWindowDisplayIndex(on) : 0;
    if (display < 0) display = 0;
    const Rect usable = sdl::usableArea(display);
    if (usable.empty()) return chosen ? scaleChoice : 1;
    // A scale chosen larger than the desktop holds is shown at the largest that fits; the choice
    // itself stays as the player made it.
    if (chosen)
        return std::min(scaleChoice, sdl::largestFittingScale(849, 588, usable.w, usable.h));
    return sdl::autoScale(849, 588, usable.w, usable.h);
}

int SdlBackend::Impl::largestScale(SDL_Window* on) const {
    int display = on ? SDL_GetWindowDisplayIndex(on) : 0;
    const Rect usable = sdl::usableArea(display < 0 ? 0 : display);
    if (usable.empty()) return sdl::kMaxScale;
    return sdl::largestFittingScale(849, 588, usable.w, usable.h);
}

void SdlBackend::Impl::applyScale() {
    SDL_Window* ref = screens.empty() ? early : screens.front()->sdlWindow();
    int k = windowScale(ref);
    for (const auto& s : screens) s->setScale(k);
}

void SdlBackend::Impl::changeChoices(Application& app, int scale, bool fullscreen) {
    scaleChoice = scale;
    fullscreenChoice = fullscreen;
    applyScale();
    if (Window* main = app.mainWindow())
        if (sdl::ScreenWindow* s = screenOf(main)) s->setFullscreen(fullscreen);
    if (owner && owner->onDisplayChoicesChanged)
        app.dispatch(
            [this, scale, fullscreen] { owner->onDisplayChoicesChanged(scale, fullscreen); });
}

bool SdlBackend::Impl::displayKey(Application& app, const SDL_KeyboardEvent& k) {
    const SDL_Keycode sym = k.keysym.sym;
    const bool ctrl = (k.keysym.mod & KMOD_CTRL) != 0, alt = (k.keysym.mod & KMOD_ALT) != 0;
    const bool enter = sym == SDLK_RETURN || sym == SDLK_KP_ENTER;
    enum { None, Full, Bigger, Smaller, Auto } what = None;
    if ((sym == SDLK_F11 && !ctrl && !alt) || (enter && alt && !ctrl))
        what = Full;
    else if (ctrl && (sym == SDLK_PLUS || sym == SDLK_EQUALS || sym == SDLK_KP_PLUS))
        what = Bigger;
    else if (ctrl && (sym == SDLK_MINUS || sym == SDLK_KP_MINUS))
        what = Smaller;
    else if (ctrl && (sym == SDLK_0 || sym == SDLK_KP_0))
        what = Auto;
    if (what == None) return false;
    // The release and the key's repeats belong to the same choice.
    if (k.type != SDL_KEYDOWN || k.repeat) return true;
    Window* main = app.mainWindow();
    if (what == Full) {
        // Only the game's own window fills the screen, and not behind a box.
        if (main && app.activeWindow() == main) changeChoices(app, scaleChoice, !fullscreenChoice);
        return true;
    }
    SDL_Window* on = screens.empty() ? early : screens.front()->sdlWindow();
    int now = screens.empty() ? windowScale(on) : screens.front()->scale();
    // Bigger only while the window still fits the desktop.
    if (what == Bigger && now + 1 > largestScale(on)) return true;
    int next = what == Auto ? 0 : std::clamp(now + (what == Bigger ? 1 : -1), 1, sdl::kMaxScale);
    changeChoices(app, next, fullscreenChoice);
    return true;
}

void SdlBackend::setDisplayChoices(int scale, bool fullscreen) {
    impl_->scaleChoice = (scale >= 1 && scale <= sdl::kMaxScale) ? scale : 0;
    impl_->fullscreenChoice = fullscreen;
}

}  // namespace tk
