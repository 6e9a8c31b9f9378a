#include "toolkit/web/web_backend.h"

#include <emscripten.h>

#include <algorithm>
#include <cstdio>

#include "toolkit/application.h"
#include "toolkit/control.h"
#include "toolkit/error_box.h"
#include "toolkit/i18n.h"
#include "toolkit/timer.h"
#include "toolkit/window.h"

namespace tk {

namespace {

WebBackend* theBackend = nullptr;

// The page's side (web/js/): the canvas, the timeout, the shell's jobs.
EM_JS(void, jsSchedule, (double ms), { Module.lumcrest.loop.schedule(ms); });
EM_JS(void, jsBeep, (), { Module.lumcrest.sound.beep(); });
EM_JS(void, jsOpenUrl, (const char* address),
      { Module.lumcrest.shell.open(UTF8ToString(address)); });
EM_JS(void, jsTextInput, (int on), { Module.lumcrest.input.textInput(on != 0); });
EM_JS(void, jsFatal, (const char* message),
      { Module.lumcrest.shell.fatal(UTF8ToString(message)); });
EM_JS(void, jsClosed, (), { Module.lumcrest.shell.closed(); });
// After every event: the player's file is stored when the event changed it.
EM_JS(void, jsStoreIfChanged, (), { Module.lumcrest.storage.check(); });
EM_JS(void, jsNotice, (const char* message),
      { Module.lumcrest.shell.notice(UTF8ToString(message)); });

}  // namespace

WebBackend::WebBackend() : audio_([this] { return nowUs(); }) {
    theBackend = this;
}

WebBackend::~WebBackend() {
    if (theBackend == this) theBackend = nullptr;
}

WebBackend* WebBackend::current() {
    return theBackend;
}

std::int64_t WebBackend::nowUs() {
    if (testClock_) return testUs_;
    return std::int64_t(emscripten_get_now() * 1000.0);
}

void WebBackend::beep() {
    jsBeep();
}

void WebBackend::openUrl(const std::string& address) {
    jsOpenUrl(address.c_str());
}

void WebBackend::setTextInput(bool on) {
    jsTextInput(on ? 1 : 0);
}

void WebBackend::showError(Application& app, const std::string& message) {
    std::fprintf(stderr, "lumcrest: %s\n", message.c_str());
    showErrorBox(app, message);
    present();
}

void WebBackend::showFatalError(Application&, const std::string& message) {
    // Nothing of the game can run any more: the page says it in place of the game.
    std::fprintf(stderr, "lumcrest: %s\n", message.c_str());
    jsFatal(message.c_str());
}

void WebBackend::run(Application& app) {
    app_ = &app;
    afterEvents();
}

Window* WebBackend::inputWindow() const {
    if (!app_) return nullptr;
    Window* w = app_->activeWindow();
    return w && w->isOpen() ? w : nullptr;
}

void WebBackend::afterEvents() {
    if (!app_) return;
    present();
    jsStoreIfChanged();
    if (app_->quitting() || !app_->mainWindow() || !app_->mainWindow()->isOpen()) {
        jsClosed();
        app_ = nullptr;
        return;
    }
    schedule();
}

void WebBackend::schedule() {
    if (testClock_) return;
    Timer* next = app_->nextDueTimer();
    if (!next) return jsSchedule(-1);
    jsSchedule(std::max<double>(0, double(next->dueUs() - nowUs()) / 1000.0));
}

void WebBackend::deliverDueTimers() {
    // Only ticks due by now: a handler slower than its interval must not keep input waiting.
    const std::int64_t now = nowUs();
    while (app_ && !app_->quitting()) {
        Timer* t = app_->nextDueTimer();
        if (!t || t->dueUs() > now) break;
        app_->deliverTick(*t);
    }
}

void WebBackend::timerDue() {
    if (!app_) return;
    deliverDueTimers();
    afterEvents();
}

void WebBackend::advance(std::int64_t ms) {
    if (!app_ || !testClock_) return;
    app_->runTimersUntil(testUs_ + ms * 1000, [this](std::int64_t t) { testUs_ = t; });
    afterEvents();
}

namespace {

// Labels keep their text drawn: set again, they lay it out and draw it with the faces there are
// now.
void relayTexts(Control& c) {
    if (auto* label = dynamic_cast<Label*>(&c)) label->setFont(label->font());
    for (Control* child : c.children()) relayTexts(*child);
}

}  // namespace

void WebBackend::fontsArrived() {
    if (!app_) return;
    for (Window* w : app_->windows()) {
        relayTexts(*w);
        w->invalidateSurface();
        w->screenChanged(Rect{0, 0, w->clientWidth(), w->clientHeight()});
    }
    afterEvents();
}

void WebBackend::pageHidden() {
    if (!app_ || !onPageHidden) return;
    pageClosing_ = true;
    onPageHidden();
    pageClosing_ = false;
}

}  // namespace tk

// The page found the browser's storage full (WHY 0) or refused (1): the player is told on the
// page, in the game's language, that what they do is not being kept.
extern "C" EMSCRIPTEN_KEEPALIVE void lumcrest_storage_failed(int why) {
    std::string text;
    if (why == 0)
        text = tk::tr(
            "The browser's storage for this site is full: your settings, high scores "
            "and game in progress are not being kept.");
    else
        text = tk::tr(
            "The browser does not let this site keep anything: your settings, high "
            "scores and game in progress will be gone when the page closes.");
    tk::jsNotice(text.c_str());
}
