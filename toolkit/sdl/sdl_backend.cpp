#include "toolkit/sdl/sdl_backend.h"

#include <pthread.h>
#include <signal.h>
#include <sys/prctl.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <new>
#include <string>

#include "toolkit/application.h"
#include "toolkit/error.h"
#include "toolkit/error_box.h"
#include "toolkit/sdl/sdl_impl.h"
#include "toolkit/sdl/wayland_connection.h"
#include "toolkit/sdl/x11_connection.h"
#include "toolkit/sdl/x11_output.h"
#include "toolkit/window.h"

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

// A closed terminal or a logout ends the game as SIGTERM does, through SDL's own quit handling,
// so it saves. kill() is safe in a signal handler.
void hangUp(int) {
    ::kill(::getpid(), SIGTERM);
}

void closeOnHangUp() {
    struct sigaction old {};
    if (::sigaction(SIGHUP, nullptr, &old) == 0 && old.sa_handler == SIG_IGN)
        return;  // started under nohup: the user asked for the hang-up to be ignored
    struct sigaction sa {};
    sa.sa_handler = hangUp;
    sigemptyset(&sa.sa_mask);
    ::sigaction(SIGHUP, &sa, nullptr);
}

// The system's message box runs in a child process (SDL forks one for it on X11, and runs a
// helper program on Wayland). That child must end with the game, however the game ends (a
// SIGKILL included), and on SIGTERM as any window of the game does.
volatile sig_atomic_t boxChildWanted = 0;
pid_t boxParent = 0;

void dressBoxChild() {
    if (!boxChildWanted) return;
    ::prctl(PR_SET_PDEATHSIG, SIGKILL);
    if (::getppid() != boxParent) ::_exit(1);  // the game ended before the line above
    for (int sig : {SIGTERM, SIGINT, SIGHUP}) ::signal(sig, SIG_DFL);
    sigset_t quitSignals;
    sigemptyset(&quitSignals);
    for (int sig : {SIGTERM, SIGINT, SIGHUP}) sigaddset(&quitSignals, sig);
    pthread_sigmask(SIG_UNBLOCK, &quitSignals, nullptr);
}

// While the system's box is up the game only waits for it: a quit signal ends the game at once,
// and the box with it.
void endWhileBoxed(int) {
    ::_exit(1);
}

bool showSystemBox(const std::string& message) {
    static const bool dressed = pthread_atfork(nullptr, nullptr, dressBoxChild) == 0;
    (void)dressed;
    struct sigaction sa {};
    sa.sa_handler = endWhileBoxed;
    sigemptyset(&sa.sa_mask);
    struct sigaction before[3];
    const int signals[3] = {SIGTERM, SIGINT, SIGHUP};
    for (int i = 0; i < 3; ++i) {
        ::sigaction(signals[i], &sa, &before[i]);
        // Started under nohup: the hang-up stays ignored.
        if (before[i].sa_handler == SIG_IGN) ::sigaction(signals[i], &before[i], nullptr);
    }
    boxParent = ::getpid();
    boxChildWanted = 1;
    const bool shown =
        SDL_ShowSimpleMessageBox(SDL_MESSAGEBOX_ERROR, "Lumcrest", message.c_str(), nullptr) == 0;
    boxChildWanted = 0;
    for (int i = 0; i < 3; ++i) ::sigaction(signals[i], &before[i], nullptr);
    return shown;
}

// The backend whose display is watched (there is one per program).
SdlBackend::Impl* watched = nullptr;

void displayLost(bool windowGone) {
    if (!watched) return;
    watched->closingUnattended = true;
    const char* what =
        windowGone ? "the window was closed by another program" : "the display went away";
    if (watched->owner && watched->owner->onDisplayLost)
        watched->owner->onDisplayLost(what);
    else
        std::fprintf(stderr, "lumcrest: %s\n", what);
}

// Whether the X window WINDOW is one of the game's (asks the server nothing).
bool isWatchedWindow(unsigned long window) {
    if (!watched || window == 0) return false;
    if (watched->early && sdl::xWindowOf(watched->early) == window) return true;
    for (const auto& s : watched->screens)
        if (sdl::xWindowOf(s->sdlWindow()) == window) return true;
    return false;
}

}  // namespace

void SdlBackend::Impl::watchDisplay() {
    watched = this;
    sdl::whenXConnectionBreaks(displayLost, isWatchedWindow);
}

bool SdlBackend::Impl::endIfDisplayLost() {
    // SDL tells of a failed Wayland connection only by a quit event: the connection itself says
    // whether that is what happened.
    SDL_Window* w = screens.empty() ? early : screens.front()->sdlWindow();
    if (x11 || !sdl::waylandConnectionBroken(w)) return false;
    watched = this;
    displayLost(false);
    // As on X11: nothing more can be shown or asked, so nothing more is done.
    std::fflush(nullptr);
    ::_exit(1);
}

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
    impl_->owner = this;
    // The game closes its own windows: the last one closing is not a request to quit.
    SDL_SetHint(SDL_HINT_QUIT_ON_LAST_WINDOW_CLOSE, "0");
    // The click that activates a window is a click like any other.
    SDL_SetHint(SDL_HINT_MOUSE_FOCUS_CLICKTHROUGH, "1");
    if (SDL_Init(SDL_INIT_VIDEO) != 0)
        throw Error(tr("Cannot open the display: %s", SDL_GetError()));
    if (invisibleDriverNotAskedFor()) {
        SDL_Quit();
        throw Error(tr("Cannot open the display: no window system was found"));
    }
    // How the window's pixels reach the display depends on the window system. On X11 they go
    // straight, only the areas that changed: through a texture every change re-sends the whole
    // frame, which on a software GL (Xvfb, a remote desktop) costs 30 times more (a gem-sized
    // change every 20 ms took 16 % of a core that way, 0.5 % this way). Wayland has no such
    // direct path: there the window's pixels live in a texture that SDL presents.
    const char* driver = SDL_GetCurrentVideoDriver();
    impl_->x11 = driver && std::strcmp(driver, "x11") == 0;
    if (impl_->x11) SDL_SetHint(SDL_HINT_FRAMEBUFFER_ACCELERATION, "0");
    {
        // The sound threads started here do not take SIGTERM and SIGINT: those go to the loop's
        // thread, where they break the wait at once.
        sigset_t quitSignals, previous;
        sigemptyset(&quitSignals);
        sigaddset(&quitSignals, SIGTERM);
        sigaddset(&quitSignals, SIGINT);
        sigaddset(&quitSignals, SIGHUP);
        pthread_sigmask(SIG_BLOCK, &quitSignals, &previous);
        impl_->audio =
            std::make_unique<sdl::SdlAudio>([impl = impl_.get()] { return impl->nowUs(); });
        pthread_sigmask(SIG_SETMASK, &previous, nullptr);
    }
    closeOnHangUp();
    impl_->arrow = SDL_CreateSystemCursor(SDL_SYSTEM_CURSOR_ARROW);
    impl_->hand = SDL_CreateSystemCursor(SDL_SYSTEM_CURSOR_HAND);
    // Typed text is wanted only while a name box has the focus: the windows start it then.
    SDL_StopTextInput();
}

SdlBackend::~SdlBackend() {
    if (watched == impl_.get()) watched = nullptr;
    // Windows still open belong to objects that are gone by now: only their SDL side is freed.
    impl_->screens.clear();
    impl_->stopPads();
    if (impl_->early) SDL_DestroyWindow(impl_->early);
    impl_->audio.reset();
    if (impl_->hand) SDL_FreeCursor(impl_->hand);
    if (impl_->arrow) SDL_FreeCursor(impl_->arrow);
    SDL_Quit();
}

std::int64_t SdlBackend::nowUs() {
    return impl_->nowUs();
}

Audio& SdlBackend::audio() {
    return *impl_->audio;
}

void SdlBackend::beep() {
    impl_->audio->beep();
}

void SdlBackend::setTextInput(bool on) {
    if (on)
        SDL_StartTextInput();
    else
        SDL_StopTextInput();
}

void SdlBackend::openUrl(const std::string& address) {
    if (impl_->paced) return;  // a replay opens nothing on the desktop
    SDL_OpenURL(address.c_str());
}

void SdlBackend::setPacer(Pacer pacer) {
    impl_->pacer = std::move(pacer);
    impl_->paced = true;
}

bool SdlBackend::closingUnattended() const {
    return impl_->closingUnattended;
}

void SdlBackend::showError(Application& app, const std::string& message) {
    if (impl_->paced) {
        // A box would take the replay's input: the message goes where the replay reports.
        std::fprintf(stderr, "lumcrest: %s\n", message.c_str());
        return;
    }
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
    if (impl_->closingUnattended) {
        // A box nobody will click would keep the program from ending.
        impl_->exitStatus = 1;
        return;
    }
    try {
        ErrorBox box(app, message);
        app.showModal(box);
        if (!impl_->screenOf(&box)) return;
        impl_->loop(app, [&box] { return !box.isOpen(); });
        box.close();
    } catch (const std::exception& e) {
        // No box of ours could be shown (no font, say): the system's own box needs nothing of
        // ours. The message is on the terminal too, and why our box failed.
        std::fprintf(stderr, "lumcrest: cannot show the error box: %s\n",
                     dynamic_cast<const std::bad_alloc*>(&e) ? "not enough memory" : e.what());
        if (!showSystemBox(message))
            std::fprintf(stderr, "lumcrest: cannot show a message box: %s\n", SDL_GetError());
    }
}

int SdlBackend::exitStatus() const {
    return impl_->exitStatus;
}

void SdlBackend::openEarly(int clientW, int clientH, const std::string& title) {
    if (impl_->early) return;
    // Where the main window will be: wholly on the desktop.
    const Rect usable = sdl::usableArea(0);
    Rect r = sdl::placeWindow(clientW, clientH, impl_->windowScale(), usable, usable);
    if (usable.empty()) r.x = r.y = SDL_WINDOWPOS_CENTERED;
    impl_->early = SDL_CreateWindow(title.c_str(), r.x, r.y, r.w, r.h, 0);
    if (!impl_->early) return;  // the main window makes its own when it opens
    // Fullscreen after the window has its own size: a Wayland compositor gives a window that
    // started fullscreen no size to go back to.
    if (impl_->fullscreenChoice)
        SDL_SetWindowFullscreen(impl_->early, SDL_WINDOW_FULLSCREEN_DESKTOP);
    impl_->earlyW = clientW;
    impl_->earlyH = clientH;
    // Black until the game shows its frame; on X11 without SDL's window surface, which would
    // stay allocated for as long as the window lives.
    if (auto x11 = sdl::X11Output::forWindow(impl_->early)) {
        x11->fillBlack(Rect{0, 0, r.w, r.h});
        x11->flush();
    } else if (SDL_Surface* s = SDL_GetWindowSurface(impl_->early)) {
        SDL_FillRect(s, nullptr, SDL_MapRGB(s->format, 0, 0, 0));
        SDL_UpdateWindowSurface(impl_->early);
    }
    impl_->noteConnection(impl_->early);
}

void SdlBackend::windowOpened(Window& w) {
    impl_->forgetGoneWindows(w.app());
    if (impl_->screenOf(&w)) return;
    Application& app = w.app();
    const bool main = &w == app.mainWindow();
    if (impl_->early && main && !w.toolWindow && impl_->earlyW == w.clientWidth() &&
        impl_->earlyH == w.clientHeight()) {
        SDL_Window* adopt = impl_->early;
        impl_->early = nullptr;
        impl_->screens.push_back(
            std::make_unique<sdl::ScreenWindow>(w, nullptr, impl_->windowScale(adopt), adopt));
        impl_->screens.back()->setFullscreen(impl_->fullscreenChoice);
        impl_->noteConnection(adopt);
        return;
    }
    // Dialogs open over the main window; the main window in the middle of the desktop.
    sdl::ScreenWindow* owner = nullptr;
    if (!main) owner = impl_->screenOf(app.mainWindow());
    SDL_Window* ref = owner ? owner->sdlWindow() : nullptr;
    impl_->screens.push_back(std::make_unique<sdl::ScreenWindow>(
        w, ref, owner ? owner->scale() : impl_->windowScale(ref)));
    sdl::ScreenWindow* screen = impl_->screens.back().get();
    impl_->noteConnection(screen->sdlWindow());
    if (main && impl_->fullscreenChoice) screen->setFullscreen(true);
    if (owner) screen->takeFocus();
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
    // Controllers are looked for once the first picture is on screen.
    impl_->padsWanted = true;
    impl_->loop(app, [&app] { return app.quitting(); });
}

}  // namespace tk
