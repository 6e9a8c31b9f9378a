// Game controllers: SDL's game-controller API with its built-in mappings (and any the player
// adds in SDL_GAMECONTROLLERCONFIG). Pads come and go at any time; a pad that goes away lets go
// of what it held. Every button reaches the application as one pad event.
#include <pthread.h>
#include <signal.h>

#include <algorithm>

#include "toolkit/application.h"
#include "toolkit/sdl/sdl_impl.h"

namespace tk {

namespace {

// While a pad is open its buttons are read this often (SDL has no way to wake the loop for them).
constexpr int kPadPollMs = 8;
// Without one, new pads are looked for this often.
constexpr int kPlugPollMs = 500;
// The left stick counts as the D-pad beyond this deflection, and lets go below the lower one.
constexpr int kStickOn = 16000, kStickOff = 12000;

bool toPadButton(Uint8 sdlButton, PadButton& out) {
    switch (sdlButton) {
        case SDL_CONTROLLER_BUTTON_A: out = PadButton::A; return true;
        case SDL_CONTROLLER_BUTTON_B: out = PadButton::B; return true;
        case SDL_CONTROLLER_BUTTON_X: out = PadButton::X; return true;
        case SDL_CONTROLLER_BUTTON_Y: out = PadButton::Y; return true;
        case SDL_CONTROLLER_BUTTON_BACK: out = PadButton::Back; return true;
        case SDL_CONTROLLER_BUTTON_START: out = PadButton::Start; return true;
        case SDL_CONTROLLER_BUTTON_DPAD_UP: out = PadButton::DpUp; return true;
        case SDL_CONTROLLER_BUTTON_DPAD_DOWN: out = PadButton::DpDown; return true;
        case SDL_CONTROLLER_BUTTON_DPAD_LEFT: out = PadButton::DpLeft; return true;
        case SDL_CONTROLLER_BUTTON_DPAD_RIGHT: out = PadButton::DpRight; return true;
        default: return false;
    }
}

// The stick's own bits, beside the buttons', so a D-pad press and the stick count apart.
constexpr std::uint32_t kStickLeftBit = 1u << 30, kStickRightBit = 1u << 31;

}  // namespace

void SdlBackend::Impl::startPads() {
    if (padsReady) return;
    // The loop reads the pads itself: left to SDL, any joystick makes every wait a 1 ms poll.
    SDL_SetHint(SDL_HINT_AUTO_UPDATE_JOYSTICKS, "0");
    // Threads started here must not take the quit signals from the loop's thread.
    sigset_t quitSignals, previous;
    sigemptyset(&quitSignals);
    sigaddset(&quitSignals, SIGTERM);
    sigaddset(&quitSignals, SIGINT);
    pthread_sigmask(SIG_BLOCK, &quitSignals, &previous);
    padsReady = SDL_InitSubSystem(SDL_INIT_GAMECONTROLLER) == 0;
    pthread_sigmask(SIG_SETMASK, &previous, nullptr);
    // Pads already plugged in announce themselves as added.
}

void SdlBackend::Impl::stopPads() {
    for (Pad& p : pads) SDL_GameControllerClose(p.controller);
    pads.clear();
    if (padsReady) SDL_QuitSubSystem(SDL_INIT_GAMECONTROLLER);
    padsReady = false;
}

void SdlBackend::Impl::pollPads() {
    if (!padsReady) return;
    std::int64_t now = nowUs();
    if (pads.empty() && now - padsPolledUs < kPlugPollMs * 1000) return;
    padsPolledUs = now;
    SDL_GameControllerUpdate();
}

int SdlBackend::Impl::padWaitCapMs() const {
    if (!padsReady) return 1 << 30;
    return pads.empty() ? kPlugPollMs : kPadPollMs;
}

void SdlBackend::Impl::padHold(Application& app, PadButton b, bool down) {
    // Several pads (and a pad's stick beside its D-pad) may hold the same button: the game sees
    // it go down with the first and up with the last.
    int& count = heldCount[int(b)];
    if (down) {
        if (count++ == 0) app.padInput(b, true);
    } else if (count > 0) {
        if (--count == 0) app.padInput(b, false);
    }
}

void SdlBackend::Impl::handlePad(Application& app, const SDL_Event& e) {
    auto find = [this](SDL_JoystickID id) -> Pad* {
        for (Pad& p : pads)
            if (p.id == id) return &p;
        return nullptr;
    };
    switch (e.type) {
        case SDL_CONTROLLERDEVICEADDED: {
            SDL_GameController* c = SDL_GameControllerOpen(e.cdevice.which);
            if (!c) break;  // not one we can read: it is simply not used
            SDL_JoystickID id = SDL_JoystickInstanceID(SDL_GameControllerGetJoystick(c));
            if (find(id)) {
                SDL_GameControllerClose(c);  // opened once already
                break;
            }
            pads.push_back(Pad{c, id});
            break;
        }
        case SDL_CONTROLLERDEVICEREMOVED: {
            Pad* p = find(e.cdevice.which);
            if (!p) break;
            // Whatever it held is let go, so no direction repeats for ever.
            for (int i = 0; i < kPadButtonCount; ++i)
                if (p->held & (1u << i)) padHold(app, PadButton(i), false);
            if (p->held & kStickLeftBit) padHold(app, PadButton::DpLeft, false);
            if (p->held & kStickRightBit) padHold(app, PadButton::DpRight, false);
            SDL_GameControllerClose(p->controller);
            std::erase_if(pads, [id = e.cdevice.which](const Pad& q) { return q.id == id; });
            break;
        }
        case SDL_CONTROLLERBUTTONDOWN:
        case SDL_CONTROLLERBUTTONUP: {
            Pad* p = find(e.cbutton.which);
            PadButton b;
            if (!p || !toPadButton(e.cbutton.button, b)) break;
            const std::uint32_t bit = 1u << int(b);
            const bool down = e.type == SDL_CONTROLLERBUTTONDOWN;
            if (down == ((p->held & bit) != 0)) break;  // no change
            p->held = down ? (p->held | bit) : (p->held & ~bit);
            padHold(app, b, down);
            break;
        }
        case SDL_CONTROLLERAXISMOTION: {
            Pad* p = find(e.caxis.which);
            if (!p || e.caxis.axis != SDL_CONTROLLER_AXIS_LEFTX) break;
            const int v = e.caxis.value;
            int stick = p->stick;
            if (v <= -kStickOn)
                stick = -1;
            else if (v >= kStickOn)
                stick = 1;
            else if (v > -kStickOff && v < kStickOff)
                stick = 0;
            if (stick == p->stick) break;
            if (p->stick == -1) {
                p->held &= ~kStickLeftBit;
                padHold(app, PadButton::DpLeft, false);
            } else if (p->stick == 1) {
                p->held &= ~kStickRightBit;
                padHold(app, PadButton::DpRight, false);
            }
            p->stick = stick;
            if (stick == -1) {
                p->held |= kStickLeftBit;
                padHold(app, PadButton::DpLeft, true);
            } else if (stick == 1) {
                p->held |= kStickRightBit;
                padHold(app, PadButton::DpRight, true);
            }
            break;
        }
        default: break;
    }
}

}  // namespace tk
