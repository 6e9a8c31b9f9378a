#include "tools/lumcrest-drive/driver.h"

#include <charconv>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <sstream>
#include <vector>

#include "app/command_line.h"
#include "app/recorder.h"
#include "game/state_fields.h"
#include "toolkit/error.h"
#include "toolkit/font.h"
#include "toolkit/image.h"
#include "toolkit/pad.h"
#include "toolkit/timer.h"

#ifndef LUMCREST_DEFAULT_DATA_DIR
#define LUMCREST_DEFAULT_DATA_DIR "data"
#endif

namespace lumcrest {

namespace fs = std::filesystem;

namespace {

std::vector<std::string> splitWords(const std::string& line) {
    std::vector<std::string> words;
    std::size_t i = 0;
    while (i <= line.size()) {
        std::size_t j = line.find(' ', i);
        if (j == std::string::npos) j = line.size();
        words.push_back(line.substr(i, j - i));
        i = j + 1;
    }
    return words;
}

std::optional<long long> parseInteger(const std::string& s) {
    long long v = 0;
    if (s.empty()) return std::nullopt;
    const char* begin = s.data();
    if (*begin == '+') ++begin;
    auto [p, ec] = std::from_chars(begin, s.data() + s.size(), v);
    if (ec != std::errc() || p != s.data() + s.size()) return std::nullopt;
    return v;
}

std::string hexColour(tk::Argb c) {
    char buf[8];
    std::snprintf(buf, sizeof buf, "%02X%02X%02X", tk::redOf(c), tk::greenOf(c), tk::blueOf(c));
    return buf;
}

const char* stateName(tk::MusicState s) {
    switch (s) {
        case tk::MusicState::None: return "none";
        case tk::MusicState::Playing: return "playing";
        case tk::MusicState::Ended: return "ended";
        case tk::MusicState::Stopped: return "stopped";
    }
    return "none";
}

}  // namespace

std::string driverUsage() {
    return R"(usage: lumcrest-drive [--home DIR] [--data DIR] [--seed N]
Runs the game headless: commands on standard input, one per line, answers on standard output.

  --home DIR   the folder of lumcrest.ini (default: the game's usual settings folder)
  --data DIR   the folder with the asset files (default: the build's data folder)
  --seed N     every seeding of the dice uses N (0..4294967295) instead of the clock
  --help       this text;  --version  the game's version

Commands (words separated by single spaces; blank lines and lines starting with # are ignored):
  seed N            before start: every seeding of the dice uses N, as --seed does
  ini TEXT          before start: appends TEXT to the settings file DIR/lumcrest.ini (needs
                    --home); the first ini of a run begins the file afresh. %XX in TEXT is the
                    byte of hex XX (%0A a line end, %25 a percent sign)
  start             constructs the windows (the clock at 0)          -> started | error: ...
  key CODE          press and release of virtual key CODE
  text STRING       types STRING into the focused control
  move X Y | down X Y | up X Y | click X Y      left-button mouse events at client pixel X, Y
  rdown X Y | rup X Y   the right button;  mdown X Y | mup X Y   the middle button
  pad BUTTON [down|up]  a game-controller button (a b x y back start dpup dpdown dpleft dpright)
  wait MS           moves the clock MS milliseconds, delivering every tick that falls due
  at US             moves the clock to US microseconds after start, delivering no tick
  tick NAME         delivers one tick of the enabled timer NAME now, as the real loop did
                    (-> error: ... when it is off or unknown)
  get NAME | set NAME VALUE | show NAME 0|1 | cell C R [V] | board | marks | blast | timers
  sounds | music | control NAME | focus | pixel X Y | shot FILE | urls | errors | beeps
  close             closes the main window as its close box does    -> closed
  echo TEXT | help

A recording made by `lumcrest --record FILE` uses seed, ini, start, at, tick and the input
commands: `lumcrest-drive --home EMPTY-FOLDER < FILE` replays it. The real loop drops ticks
that fall late and wait does not, so a recording gives every tick with at and tick instead.
)";
}

std::optional<DriverOptions> parseDriverOptions(int argc, char** argv) {
    DriverOptions o;
    o.dataDir = LUMCREST_DEFAULT_DATA_DIR;
    for (int i = 1; i < argc; ++i) {
        std::string a = argv[i];
        bool hasValue = i + 1 < argc;
        if (a == "--home" && hasValue) {
            // Relative to the caller's folder, not to the data folder the game works in.
            std::error_code ec;
            fs::path home = fs::absolute(argv[++i], ec);
            o.home = ec ? std::string(argv[i]) : home.lexically_normal().string();
        } else if (a == "--data" && hasValue) {
            o.dataDir = argv[++i];
        } else if (a == "--seed" && hasValue) {
            auto v = parseInteger(argv[++i]);
            if (!v || *v < 0 || *v > 0xFFFFFFFFLL) {
                std::cerr << "lumcrest-drive: --seed needs a number 0..4294967295\n";
                return std::nullopt;
            }
            o.seed = std::uint32_t(*v);
        } else if (a == "--help") {
            o.help = true;
        } else if (a == "--version") {
            o.version = true;
        } else {
            std::cerr << "usage: lumcrest-drive [--home DIR] [--data DIR] [--seed N]\n";
            return std::nullopt;
        }
    }
    return o;
}

Driver::Driver(DriverOptions options, std::ostream& out)
    : options_(std::move(options)), out_(out), app_(backend_) {}

Driver::~Driver() {
    // Leaving without `close` saves nothing: the windows go away without their close handler.
    program_.reset();
}

void Driver::answer(const std::string& text) {
    out_ << text << '\n' << std::flush;
}

bool Driver::requireStarted() {
    if (program_) return true;
    answer("error: not started");
    return false;
}

tk::Window* Driver::activeWindow() {
    tk::Window* w = app_.activeWindow();
    return w ? w : program_->form.get();
}

tk::Control* Driver::findControl(const std::string& name) {
    if (name == "AboutBox") return program_->about.get();
    if (tk::Control* c = program_->form->findControl(name)) return c;
    return program_->about->findControl(name);
}

std::string Driver::describeControl(const std::string& name) {
    tk::Control* c = findControl(name);
    if (!c) return "error: unknown control " + name;
    int left = c->left(), top = c->top();
    bool showing = c->showing();
    if (c == program_->about.get()) {
        left = (program_->form->clientWidth() - c->width()) / 2;
        top = (program_->form->clientHeight() - c->height()) / 2;
        showing = program_->about->isOpen();
    }
    std::string picture = "-", colour = "-";
    if (auto* p = dynamic_cast<tk::Picture*>(c); p && !p->fileName().empty())
        picture = p->fileName();
    if (auto* l = dynamic_cast<tk::Label*>(c)) colour = hexColour(l->colour());
    std::ostringstream s;
    s << name << " visible=" << (c->visible() ? 1 : 0) << " showing=" << (showing ? 1 : 0)
      << " left=" << left << " top=" << top << " width=" << c->width() << " height=" << c->height()
      << " picture=" << picture << " color=" << colour << " caption=" << c->captionText();
    return s.str();
}

std::string Driver::musicLine() {
    tk::Audio& audio = backend_.audio();
    std::string file = audio.musicFile();
    TForm1& f = *program_->form;
    std::ostringstream s;
    s << "music track=" << (file.empty() ? "-" : file) << " state=" << stateName(audio.musicState())
      << " timer=" << (f.MusicTimer.enabled() ? "on" : "off")
      << " interval=" << f.MusicTimer.interval();
    return s.str();
}

std::string Driver::gridText(const std::function<int(int, int)>& value) {
    std::string text;
    for (int r = 10; r >= 1; --r) {
        for (int c = 1; c <= 10; ++c) {
            if (c > 1) text += ' ';
            text += std::to_string(value(columnX(c), rowY(r)));
        }
        if (r > 1) text += '\n';
    }
    return text;
}

void Driver::run(std::istream& in) {
    std::string line;
    while (std::getline(in, line)) {
        if (!line.empty() && line.back() == '\r') line.pop_back();
        if (!execute(line)) return;
    }
}

bool Driver::execute(const std::string& line) {
    if (line.empty() || line[0] == '#') return true;
    std::vector<std::string> w = splitWords(line);
    const std::string& cmd = w[0];
    auto argInt = [&](std::size_t i) -> std::optional<long long> {
        return i < w.size() ? parseInteger(w[i]) : std::nullopt;
    };
    auto restOfLine = [&]() -> std::string {
        std::size_t sp = line.find(' ');
        return sp == std::string::npos ? std::string() : line.substr(sp + 1);
    };

    if (cmd == "echo") {
        answer(restOfLine());
        return true;
    }
    if (cmd == "help") {
        std::string text = driverUsage();
        if (!text.empty() && text.back() == '\n') text.pop_back();
        answer(text);
        return true;
    }
    if (cmd == "seed") {
        auto v = argInt(1);
        if (!v || w.size() != 2 || *v < 0 || *v > 0xFFFFFFFFLL)
            return answer("error: seed needs a number 0..4294967295"), true;
        if (program_) return answer("error: seed must come before start"), true;
        options_.seed = std::uint32_t(*v);
        return true;
    }
    if (cmd == "ini") {
        if (program_) return answer("error: ini must come before start"), true;
        // Only a folder given for the purpose is written: never the player's own settings.
        if (!options_.home) return answer("error: ini needs --home"), true;
        std::string bytes;
        if (!unescapeIniChunk(restOfLine(), bytes))
            return answer("error: ini: bad %XX escape"), true;
        fs::path file = fs::path(*options_.home) / "lumcrest.ini";
        std::ofstream f(file,
                        std::ios::binary | (settingsStarted_ ? std::ios::app : std::ios::trunc));
        if (f) f.write(bytes.data(), std::streamsize(bytes.size()));
        if (!f) return answer("error: ini: cannot write " + file.string()), true;
        settingsStarted_ = true;
        return true;
    }
    if (cmd == "start") {
        if (w.size() != 1) return answer("error: start takes no arguments"), true;
        if (program_) return answer("error: already started"), true;
        std::error_code ec;
        fs::current_path(options_.dataDir, ec);
        if (ec) return answer("error: cannot enter data folder " + options_.dataDir), true;
        Environment env;
        env.settingsPath = options_.home ? (fs::path(*options_.home) / "lumcrest.ini").string()
                                         : defaultSettingsPath();
        env.webAddress = webPageAddress(fs::current_path(ec).string());
        env.localeDir = LUMCREST_DEFAULT_LOCALE_DIR;
        if (options_.seed) {
            std::uint32_t seed = *options_.seed;
            env.seedSource = [seed] { return seed; };
        } else {
            env.seedSource = clockSeed;
        }
        backend_.setClockUs(0);
        try {
            program_ = startProgram(app_, env);
        } catch (const std::exception& e) {
            program_.reset();
            return answer(std::string("error: ") + e.what()), true;
        }
        answer("started");
        return true;
    }
    if (!requireStarted()) return true;
    TForm1& form = *program_->form;

    if (cmd == "at") {
        auto us = argInt(1);
        if (!us || w.size() != 2 || *us < backend_.nowUs() || *us > 1000000LL * 3600 * 24 * 365)
            return answer("error: at needs microseconds, not before the clock"), true;
        backend_.setClockUs(*us);
    } else if (cmd == "tick") {
        if (w.size() != 2) return answer("error: tick needs a timer name"), true;
        tk::Timer* timer = nullptr;
        for (tk::Timer* t : app_.timers())
            if (t->name() == w[1]) timer = t;
        if (!timer) return answer("error: unknown timer " + w[1]), true;
        // The real loop only delivers enabled timers: a tick of one that is off here means the
        // replay went another way than the recorded play.
        if (!timer->enabled()) return answer("error: tick " + w[1] + ": the timer is off"), true;
        app_.deliverTick(*timer);
    } else if (cmd == "key") {
        auto code = argInt(1);
        if (!code || w.size() != 2 || *code < 0 || *code > 255)
            return answer("error: key needs a code 0..255"), true;
        tk::Window* target = activeWindow();
        app_.dispatch([&] { target->keyDown(int(*code)); });
        app_.dispatch([&] { target->keyUp(int(*code)); });
    } else if (cmd == "pad") {
        std::optional<tk::PadButton> button;
        if (w.size() >= 2) button = tk::padButtonByName(w[1]);
        bool press = w.size() == 2 || (w.size() == 3 && w[2] == "down");
        bool release = w.size() == 2 || (w.size() == 3 && w[2] == "up");
        if (!button || w.size() > 3 || (!press && !release))
            return answer(
                       "error: pad needs a button (a, b, x, y, back, start, dpup, dpdown, "
                       "dpleft, dpright) and maybe down or up"),
                   true;
        if (press) app_.padInput(*button, true);
        if (release) app_.padInput(*button, false);
    } else if (cmd == "text") {
        std::string text = restOfLine();
        tk::Window* target = activeWindow();
        app_.dispatch([&] { target->textInput(text); });
    } else if (cmd == "move" || cmd == "down" || cmd == "up" || cmd == "rdown" || cmd == "rup" ||
               cmd == "mdown" || cmd == "mup" || cmd == "click") {
        auto x = argInt(1), y = argInt(2);
        if (!x || !y || w.size() != 3 || *x < -100000 || *x > 100000 || *y < -100000 || *y > 100000)
            return answer("error: " + cmd + " needs X Y"), true;
        int px = int(*x), py = int(*y);
        tk::Window* target = activeWindow();
        auto button = (cmd == "rdown" || cmd == "rup")   ? tk::MouseButton::Right
                      : (cmd == "mdown" || cmd == "mup") ? tk::MouseButton::Middle
                                                         : tk::MouseButton::Left;
        if (cmd == "move") app_.dispatch([&] { target->mouseMove(px, py); });
        if (cmd == "down" || cmd == "rdown" || cmd == "mdown" || cmd == "click")
            app_.dispatch([&] { target->mouseDown(button, px, py); });
        if (cmd == "click") target = activeWindow();
        if (cmd == "up" || cmd == "rup" || cmd == "mup" || cmd == "click")
            app_.dispatch([&] { target->mouseUp(button, px, py); });
    } else if (cmd == "wait") {
        auto ms = argInt(1);
        if (!ms || w.size() != 2 || *ms < 0 || *ms > 1000LL * 3600 * 24 * 365)
            return answer("error: wait needs milliseconds"), true;
        backend_.advance(app_, *ms);
    } else if (cmd == "get") {
        if (w.size() != 2) return answer("error: get needs a field name"), true;
        auto f = findField(form, w[1]);
        if (!f) return answer("error: unknown field " + w[1]), true;
        answer(w[1] + "=" + f->text());
    } else if (cmd == "set") {
        if (w.size() != 3) return answer("error: set needs a field name and a value"), true;
        auto f = findField(form, w[1]);
        if (!f) return answer("error: unknown field " + w[1]), true;
        auto v = parseInteger(w[2]);
        if (!v || !f->assign(*v)) return answer("error: bad value for " + w[1]), true;
    } else if (cmd == "show") {
        if (w.size() != 3 || (w[2] != "0" && w[2] != "1"))
            return answer("error: show needs a control name and 0 or 1"), true;
        tk::Control* c = findControl(w[1]);
        if (!c) return answer("error: unknown control " + w[1]), true;
        bool on = w[2] == "1";
        app_.dispatch([&] {
            if (auto* win = dynamic_cast<tk::Window*>(c)) {
                if (win == program_->about.get())
                    on ? program_->about->showModalBox() : win->close();
                else
                    win->setVisible(on);
            } else {
                c->setVisible(on);
            }
        });
    } else if (cmd == "cell") {
        auto c = argInt(1), r = argInt(2);
        if (!c || !r || *c < 1 || *c > 10 || *r < 1 || *r > 10 || (w.size() != 3 && w.size() != 4))
            return answer("error: cell needs C R (1..10) and maybe a value"), true;
        int x = columnX(int(*c)), y = rowY(int(*r));
        if (w.size() == 3) {
            answer("cell " + w[1] + " " + w[2] + "=" + std::to_string(form.cellAt(x, y)));
        } else {
            auto v = argInt(3);
            if (!v || *v < INT32_MIN || *v > INT32_MAX)
                return answer("error: bad cell value"), true;
            form.cell(x, y) = int(*v);
        }
    } else if (cmd == "board") {
        answer(gridText([&](int x, int y) { return form.board[gridIndex(x, y)]; }));
    } else if (cmd == "marks") {
        answer(gridText([&](int x, int y) { return int(form.marks[gridIndex(x, y)]); }));
    } else if (cmd == "blast") {
        answer(gridText([&](int x, int y) { return form.blastCells[gridIndex(x, y)]; }));
    } else if (cmd == "timers") {
        std::string text;
        for (tk::Timer* t : form.timerTable) {
            if (!text.empty()) text += ' ';
            text += t->name() + (t->enabled() ? ":on:" : ":off:") + std::to_string(t->interval());
        }
        answer(text);
    } else if (cmd == "sounds") {
        std::string text = "sounds:";
        for (const std::string& s : backend_.recorder().takeEffects()) text += " " + s;
        answer(text);
    } else if (cmd == "music") {
        answer(musicLine());
    } else if (cmd == "control") {
        if (w.size() != 2) return answer("error: control needs a name"), true;
        answer(describeControl(w[1]));
    } else if (cmd == "textsize") {
        // The caption's extent in its font beside the control's box, to see that words fit.
        if (w.size() != 2) return answer("error: textsize needs a name"), true;
        tk::Control* c = findControl(w[1]);
        if (!c) return answer("error: no control " + w[1]), true;
        const tk::FontSpec* font = c->captionFont();
        tk::TextSize text = font ? tk::measureText(c->captionText(), *font) : tk::TextSize{};
        answer(w[1] + " text=" + std::to_string(text.width) + "x" + std::to_string(text.height) +
               " box=" + std::to_string(c->width()) + "x" + std::to_string(c->height()));
    } else if (cmd == "focus") {
        tk::Window* win = activeWindow();
        tk::Control* f = win ? win->focus() : nullptr;
        answer(std::string("focus=") + (f ? f->name() : "-"));
    } else if (cmd == "pixel") {
        auto x = argInt(1), y = argInt(2);
        if (!x || !y || w.size() != 3 || *x < 0 || *y < 0 || *x >= form.clientWidth() ||
            *y >= form.clientHeight())
            return answer("error: pixel needs X Y inside the window"), true;
        answer("pixel " + w[1] + " " + w[2] + "=" +
               hexColour(form.composedPixel(int(*x), int(*y))));
    } else if (cmd == "shot") {
        std::string file = restOfLine();
        if (file.empty()) return answer("error: shot needs a file name"), true;
        tk::Image frame(form.clientWidth(), form.clientHeight());
        form.compose(frame, tk::Rect{0, 0, form.clientWidth(), form.clientHeight()});
        try {
            tk::savePng(frame, file);
        } catch (const tk::Error& e) {
            return answer(std::string("error: ") + e.what()), true;
        }
        answer("shot " + file);
    } else if (cmd == "urls") {
        std::string text = "urls:";
        for (const std::string& u : backend_.urls()) text += " " + u;
        answer(text);
    } else if (cmd == "errors") {
        std::string text = "errors:";
        for (const std::string& e : backend_.takeErrors()) text += " | " + e;
        answer(text);
    } else if (cmd == "beeps") {
        answer("beeps=" + std::to_string(backend_.beeps()));
    } else if (cmd == "close") {
        form.requestClose();
        answer("closed");
        return false;
    } else {
        answer("error: unknown command " + cmd);
    }
    return true;
}

}  // namespace lumcrest
