#include "sdl_backend.h"

#include <pthread.h>
#include <signal.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

#include "../application.h"
#include "../error.h"
#include "../error_box.h"
#include "../window.h"
#include "sdl_impl.h"

namespace tk {

namespace {

// SDL quietly falls back to an invisible driver when the display cannot be reached; a game
// nobody can see is worse than a clear message, unless that driver was asked for.
bool invisibleDriverNotAskedFor() {
    const char* driver = SDL_GetCurrentVideoDriver();
    if (!driver) return true;
    if (std::strcmp(driver, "offscreen") != 0 && std::strcmp(driver, "dummy") != 0) return false;
    const char* asked = std::getenv("SDL_VIDEODRIVER");
    return !asked || std::strstr(asked, driver) == nullptr;
}

}  // namespace

std::int64_t SdlBackend::Impl::nowUs() const {
    return std::chrono::duration_cast<std::chrono::microseconds>(std::chrono::steady_clock::now() -
                                                                 start)
        .count();
}

sdl::ScreenWindow* SdlBackend::Impl::screenOf(const Window* w) const {
    for (const auto& s : screens)
        if (&s->window() == w) return s.get();
    return nullptr;
}

sdl::ScreenWindow* SdlBackend::Impl::screenById(std::uint32_t id) const {
    for (const auto& s : screens)
        if (s->id() == id) return s.get();
    return nullptr;
}

SdlBackend::SdlBackend() : impl_(std::make_unique<Impl>()) {
    // The game closes its own windows: the last one closing is not a request to quit.
    SDL_SetHint(SDL_HINT_QUIT_ON_LAST_WINDOW_CLOSE, "0");
    // The click that activates a window is a click like any other.
    SDL_SetHint(SDL_HINT_MOUSE_FOCUS_CLICKTHROUGH, "1");
    // The window's pixels go to the display straight, only the areas that changed. Through a
    // texture every change re-sends the whole frame, which on a software GL (Xvfb, a remote
    // desktop) costs 30 times more: a gem-sized change every 20 ms took 16 % of a core that way,
    // 0.5 % this way.
    SDL_SetHint(SDL_HINT_FRAMEBUFFER_ACCELERATION, "0");
    if (SDL_Init(SDL_INIT_VIDEO) != 0)
        throw Error(tr("Cannot open the display: %s", SDL_GetError()));
    if (invisibleDriverNotAskedFor()) {
        SDL_Quit();
        throw Error(tr("Cannot open the display: no window system was found"));
    }
    {
        // The sound threads started here do not take SIGTERM and SIGINT: those go to the loop's
        // thread, where they break the wait at once.
        sigset_t quitSignals, previous;
        sigemptyset(&quitSignals);
        sigaddset(&quitSignals, SIGTERM);
        sigaddset(&quitSignals, SIGINT);
        pthread_sigmask(SIG_BLOCK, &quitSignals, &previous);
        impl_->audio =
            std::make_unique<sdl::SdlAudio>([impl = impl_.get()] { return impl->nowUs(); });
        pthread_sigmask(SIG_SETMASK, &previous, nullptr);
    }
    impl_->arrow = SDL_CreateSystemCursor(SDL_SYSTEM_CURSOR_ARROW);
    impl_->hand = SDL_CreateSystemCursor(SDL_SYSTEM_CURSOR_HAND);
    SDL_StartTextInput();
}

SdlBackend::~SdlBackend() {
    // Windows still open belong to objects that are gone by now: only their SDL side is freed.
    impl_->screens.clear();
    if (impl_->early) SDL_DestroyWindow(impl_->early);
    impl_->audio.reset();
    if (impl_->hand) SDL_FreeCursor(impl_->hand);
    if (impl_->arrow) SDL_FreeCursor(impl_->arrow);
    SDL_Quit();
}

std::int64_t SdlBackend::nowUs() { return impl_->nowUs(); }

Audio& SdlBackend::audio() { return *impl_->audio; }

void SdlBackend::beep() { impl_->audio->beep(); }

void SdlBackend::openUrl(const std::string& address) { SDL_OpenURL(address.c_str()); }

void SdlBackend::showError(Application& app, const std::string& message) {
    showErrorBox(app, message);
}

void SdlBackend::showFatalError(Application& app, const std::string& message) {
    // The empty window put up for a start that failed goes before the box comes.
    if (impl_->early) {
        SDL_DestroyWindow(impl_->early);
        impl_->early = nullptr;
    }
    // Also on the terminal: the box may be all that goes wrong next.
    std::fprintf(stderr, "lumcrest: %s\n", message.c_str());
    try {
        ErrorBox box(app, message);
        app.showModal(box);
        if (!impl_->screenOf(&box)) return;
        impl_->loop(app, [&box] { return !box.isOpen(); });
        box.close();
    } catch (const std::exception& e) {
        // No box could be shown; the message is on the terminal, and why there was no box.
        std::fprintf(stderr, "lumcrest: cannot show the error box: %s\n", e.what());
    }
}

void SdlBackend::openEarly(int clientW, int clientH) {
    if (impl_->early) return;
    impl_->early = SDL_CreateWindow("", SDL_WINDOWPOS_CENTERED, SDL_WINDOWPOS_CENTERED, clientW,
                                    clientH, 0);
    if (!impl_->early) return;  // the main window makes its own when it opens
    if (SDL_Surface* s = SDL_GetWindowSurface(impl_->early)) {
        SDL_FillRect(s, nullptr, SDL_MapRGB(s->format, 0, 0, 0));
        SDL_UpdateWindowSurface(impl_->early);
    }
    impl_->noteConnection(impl_->early);
}

void SdlBackend::windowOpened(Window& w) {
    impl_->forgetGoneWindows(w.app());
    if (impl_->screenOf(&w)) return;
    int ew = 0, eh = 0;
    if (impl_->early) SDL_GetWindowSize(impl_->early, &ew, &eh);
    if (impl_->early && &w == w.app().mainWindow() && !w.toolWindow && ew == w.clientWidth() &&
        eh == w.clientHeight()) {
        SDL_Window* adopt = impl_->early;
        impl_->early = nullptr;
        impl_->screens.push_back(std::make_unique<sdl::ScreenWindow>(w, nullptr, adopt));
        impl_->noteConnection(adopt);
        return;
    }
    // Dialogs open over the main window; the main window in the middle of the desktop.
    Application& app = w.app();
    sdl::ScreenWindow* owner = nullptr;
    if (&w != app.mainWindow()) owner = impl_->screenOf(app.mainWindow());
    impl_->screens.push_back(
        std::make_unique<sdl::ScreenWindow>(w, owner ? owner->sdlWindow() : nullptr));
    impl_->noteConnection(impl_->screens.back()->sdlWindow());
    if (owner) impl_->screens.back()->takeFocus();
}

void SdlBackend::windowClosed(Window& w) {
    auto& screens = impl_->screens;
    for (auto it = screens.begin(); it != screens.end(); ++it) {
        if (&(*it)->window() == &w) {
            screens.erase(it);
            break;
        }
    }
    // The keyboard goes back to the window that takes input now.
    Application& app = w.app();
    if (auto* next = impl_->screenOf(app.activeWindow()); next && next->window().isOpen())
        next->takeFocus();
}

void SdlBackend::run(Application& app) {
    impl_->loop(app, [&app] { return app.quitting(); });
}

}  // namespace tk
