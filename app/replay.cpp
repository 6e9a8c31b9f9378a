#include "app/replay.h"

#include <charconv>
#include <cstdio>
#include <fstream>
#include <sstream>

#include "app/recorder.h"
#include "toolkit/keys.h"
#include "toolkit/pad.h"
#include "toolkit/timer.h"
#include "toolkit/window.h"

namespace lumcrest {

namespace {

constexpr std::size_t kMaxLine = 1 << 20;
constexpr std::int64_t kMaxClockUs = 24LL * 3600 * 1000 * 1000;
constexpr int kMaxSpeed = 16;

std::vector<std::string> words(const std::string& line) {
    std::vector<std::string> w;
    std::istringstream in(line);
    for (std::string word; in >> word;) w.push_back(word);
    return w;
}

std::optional<long long> number(const std::string& text) {
    long long v = 0;
    auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), v);
    if (ec != std::errc() || end != text.data() + text.size()) return std::nullopt;
    return v;
}

// The number in word N of W into OUT, within -100000..100000 (a mouse position, a key's code).
bool smallNumber(const std::vector<std::string>& w, std::size_t n, int& out) {
    if (n >= w.size()) return false;
    const std::optional<long long> v = number(w[n]);
    if (!v || *v < -100000 || *v > 100000) return false;
    out = static_cast<int>(*v);
    return true;
}

// The head of a recording: its settings file, its seed, then `start`. False with WHY otherwise.
bool readHead(ReplayScript& s, const std::string& line, int n, bool& started, std::string& why) {
    const std::vector<std::string> w = words(line);
    if (w[0] == "ini") {
        std::string bytes;
        if (!unescapeIniChunk(line.size() > 4 ? line.substr(4) : "", bytes)) {
            why = "line " + std::to_string(n) + ": a damaged ini line";
            return false;
        }
        s.settings += bytes;
        s.hasSettings = true;
    } else if (w[0] == "seed" && w.size() == 2 && number(w[1]) && *number(w[1]) >= 0 &&
               *number(w[1]) <= 0xffffffffLL) {
        s.seed = static_cast<std::uint32_t>(*number(w[1]));
    } else if (w[0] == "start" && w.size() == 1) {
        started = true;
    } else {
        why = "line " + std::to_string(n) + ": '" + w[0] + "' before start";
        return false;
    }
    return true;
}

}  // namespace

std::optional<ReplayScript> readReplayScript(const std::string& path, std::string& why) {
    std::ifstream in(path, std::ios::binary);
    if (!in) {
        why = "cannot read the recording " + path;
        return std::nullopt;
    }
    ReplayScript s;
    bool started = false;
    std::int64_t clock = 0;
    std::string line;
    for (int n = 1; std::getline(in, line); ++n) {
        s.lines = n;
        if (line.size() > kMaxLine) {
            why = "line " + std::to_string(n) + " is longer than 1 MiB";
            return std::nullopt;
        }
        if (!line.empty() && line.back() == '\r') line.pop_back();
        const std::vector<std::string> w = words(line);
        if (w.empty() || w[0][0] == '#') continue;
        if (!started) {
            if (!readHead(s, line, n, started, why)) return std::nullopt;
            continue;
        }
        if (w[0] == "at") {
            const auto us = w.size() == 2 ? number(w[1]) : std::nullopt;
            if (!us || *us < clock || *us > kMaxClockUs) {
                why = "line " + std::to_string(n) + ": the clock goes backwards or too far";
                return std::nullopt;
            }
            clock = *us;
            continue;
        }
        s.events.push_back({clock, n, line});
    }
    if (!started) {
        why = path + " is not a recording: it has no start";
        return std::nullopt;
    }
    return s;
}

ReplayPlayer::ReplayPlayer(tk::Application& app, Program& program, const ReplayScript& script,
                           std::int64_t originUs)
    : app_(app), program_(program), script_(script), realAnchor_(originUs) {}

std::int64_t ReplayPlayer::scriptNow() const {
    if (paused_) return scriptAnchor_;
    return scriptAnchor_ + (app_.nowUs() - realAnchor_) * speed_;
}

void ReplayPlayer::rebase() {
    scriptAnchor_ = scriptNow();
    realAnchor_ = app_.nowUs();
}

std::int64_t ReplayPlayer::dueUs() const {
    if (paused_ || ended_ || next_ >= script_.events.size()) return -1;
    const std::int64_t ahead = script_.events[next_].us - scriptAnchor_;
    return realAnchor_ + (ahead > 0 ? ahead / speed_ : 0);
}

void ReplayPlayer::run() {
    while (!paused_ && !ended_ && next_ < script_.events.size() && !app_.quitting() &&
           script_.events[next_].us <= scriptNow())
        play(script_.events[next_++]);
}

void ReplayPlayer::play(const ReplayScript::Event& e) {
    lastLine_ = e.line;
    const std::vector<std::string> w = words(e.text);
    TForm1& form = *program_.form;
    if (w[0] == "tick" && w.size() == 2) {
        tk::Timer* timer = nullptr;
        for (tk::Timer* t : app_.timers())
            if (t->name() == w[1]) timer = t;
        // The real loop delivers only enabled timers: a tick of one that is off here means the
        // game went another way than it did when it was recorded.
        if (!timer || !timer->enabled()) {
            diverged("line " + std::to_string(e.line) + ": tick " + w[1] +
                     (timer ? ": the timer is off" : ": no such timer"));
            return;
        }
        app_.deliverTick(*timer);
    } else if (w[0] == "close") {
        ended_ = true;
        form.requestClose();
    } else if (w[0] == "show" && w.size() == 3 && w[1] == "AboutBox" && w[2] == "0") {
        app_.dispatch([this] { program_.about->close(); });
    } else if (!input(w)) {
        diverged("line " + std::to_string(e.line) + ": not a line of a recording");
    }
}

bool ReplayPlayer::input(const std::vector<std::string>& w) {
    tk::Window* target = app_.activeWindow();
    if (!target) return false;
    const std::string& cmd = w[0];
    if (cmd == "text") {
        // The rest of the line after "text ", as typed.
        const std::string& line = script_.events[next_ - 1].text;
        const std::string typed = line.size() > 5 ? line.substr(5) : "";
        app_.dispatch([&] { target->textInput(typed); });
        return true;
    }
    if (cmd == "pad" && w.size() == 3) {
        const std::optional<tk::PadButton> b = tk::padButtonByName(w[1]);
        if (!b || (w[2] != "down" && w[2] != "up")) return false;
        app_.padInput(*b, w[2] == "down");
        return true;
    }
    int x = 0, y = 0;
    if (cmd == "key" && w.size() == 2 && smallNumber(w, 1, x) && x >= 0 && x <= 255) {
        app_.dispatch([&] { target->keyDown(x); });
        app_.dispatch([&] { target->keyUp(x); });
        return true;
    }
    if (w.size() != 3 || !smallNumber(w, 1, x) || !smallNumber(w, 2, y)) return false;
    const bool right = cmd[0] == 'r', middle = cmd[0] == 'm' && cmd != "move";
    const tk::MouseButton button = right    ? tk::MouseButton::Right
                                   : middle ? tk::MouseButton::Middle
                                            : tk::MouseButton::Left;
    if (cmd == "move") {
        app_.dispatch([&] { target->mouseMove(x, y); });
    } else if (cmd == "down" || cmd == "rdown" || cmd == "mdown") {
        app_.dispatch([&] { target->mouseDown(button, x, y); });
    } else if (cmd == "up" || cmd == "rup" || cmd == "mup") {
        app_.dispatch([&] { target->mouseUp(button, x, y); });
    } else {
        return false;
    }
    return true;
}

void ReplayPlayer::diverged(const std::string& where) {
    // Said at once; the window stays on that moment until the viewer ends the replay.
    divergence_ = where;
    ended_ = true;
    std::fprintf(stderr, "lumcrest: the replay went another way than the recording at %s\n",
                 where.c_str());
}

void ReplayPlayer::key(int vk) {
    using tk::Key;
    if (tk::is(vk, Key::Escape)) {
        ended_ = true;
        app_.quit();
    } else if (tk::is(vk, Key::Space)) {
        rebase();
        paused_ = !paused_;
    } else if (tk::is(vk, Key::Right) && speed_ < kMaxSpeed) {
        rebase();
        speed_ *= 2;
    } else if (tk::is(vk, Key::Left) && speed_ > 1) {
        rebase();
        speed_ /= 2;
    }
}

void ReplayPlayer::close() {
    ended_ = true;
    app_.quit();
}

std::string ReplayPlayer::summary() const {
    const GameState& play = program_.form->play;
    return "replayed to line " + std::to_string(lastLine_) + " of " +
           std::to_string(script_.lines) + ": Score=" + std::to_string(play.Score) +
           " Stage=" + std::to_string(play.Stage) + " Total=" + std::to_string(play.Total);
}

}  // namespace lumcrest
