#include "tools/lumcrest-drive/driver.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <charconv>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <sstream>
#include <string_view>
#include <vector>

#include "app/command_line.h"
#include "app/recorder.h"
#include "app/window_fields.h"
#include "toolkit/error.h"
#include "toolkit/font.h"
#include "toolkit/i18n.h"
#include "toolkit/image.h"
#include "toolkit/pad.h"
#include "toolkit/timer.h"

#ifndef LUMCREST_DEFAULT_DATA_DIR
#define LUMCREST_DEFAULT_DATA_DIR "data"
#endif

namespace lumcrest {

namespace fs = std::filesystem;

namespace {

// The longest line the driver reads (without its line end). Of a longer one no more than this
// is ever held: the rest is skipped unread, and the line refused.
constexpr std::size_t kMaxLine = 1 << 20;
// How far a replay's clock may go: 24 hours of game time after start, in microseconds. This
// bounds the ticks of a whole run, however its waits are cut.
constexpr long long kMaxClockUs = 24LL * 3600 * 1000 * 1000;

// Reads the next line of IN into LINE without its line end (\n or \r\n); false at the end of IN.
// A line longer than kMaxLine comes back cut to kMaxLine + 1 bytes, for execute to refuse.
bool readLine(std::istream& in, std::string& line) {
    line.clear();
    std::streambuf* buf = in.rdbuf();
    bool any = false, cut = false;
    for (int c = buf->sbumpc(); c != std::char_traits<char>::eof(); c = buf->sbumpc()) {
        any = true;
        if (c == '\n') break;
        // One more byte than the limit, and room for a \r after it.
        if (line.size() < kMaxLine + 2)
            line.push_back(char(c));
        else
            cut = true;
    }
    if (!any) in.setstate(std::ios::eofbit | std::ios::failbit);
    if (cut)
        line.resize(kMaxLine + 1);
    else if (!line.empty() && line.back() == '\r')
        line.pop_back();
    return any;
}

// A file that a shot of this run created: its device and inode.
using FileId = std::pair<std::uint64_t, std::uint64_t>;

// Opens PATH for a shot: a new file, or one a shot of this run created (MINE, where a new one is
// added). Any other file that is there, or a link, is refused with WHY: a replay never writes
// over what it did not make. Returns the open file, or -1.
int openShotFile(const std::string& path, std::vector<FileId>& mine, std::string& why) {
    const int flags = O_WRONLY | O_CLOEXEC | O_NOCTTY;
    struct stat st;
    int fd = ::open(path.c_str(), flags | O_CREAT | O_EXCL, 0666);
    if (fd >= 0) {
        if (::fstat(fd, &st) == 0) mine.emplace_back(st.st_dev, st.st_ino);
        return fd;
    }
    if (errno != EEXIST) {
        why = tk::tr("Cannot create file \"%s\"", path);
        return -1;
    }
    auto ours = [&](const struct stat& s) {
        return std::find(mine.begin(), mine.end(), FileId(s.st_dev, s.st_ino)) != mine.end();
    };
    // The file opened is the one checked: a swap between the look and the open is caught.
    if (::lstat(path.c_str(), &st) == 0 && S_ISREG(st.st_mode) && ours(st)) {
        fd = ::open(path.c_str(), flags | O_NOFOLLOW | O_NONBLOCK);
        if (fd >= 0 && ::fstat(fd, &st) == 0 && S_ISREG(st.st_mode) && ours(st) &&
            ::ftruncate(fd, 0) == 0)
            return fd;
        if (fd >= 0) ::close(fd);
    }
    why = "shot: " + path + " is there already, and this run did not write it";
    return -1;
}

// Writes all of BYTES to FD and closes it; false when there were none or any did not reach
// the file.
bool writeAndClose(int fd, const std::vector<std::uint8_t>& bytes) {
    std::size_t done = 0;
    while (done < bytes.size()) {
        ssize_t n = ::write(fd, bytes.data() + done, bytes.size() - done);
        if (n < 0 && errno == EINTR) continue;
        if (n <= 0) break;
        done += std::size_t(n);
    }
    return ::close(fd) == 0 && !bytes.empty() && done == bytes.size();
}

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

Commands (words separated by single spaces; blank lines and lines starting with # are ignored;
-> shows an answer: the others answer only a mistake, with error: ...):
)" + Driver::commandHelp() +
           R"(
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
    while (readLine(in, line))
        if (!execute(line)) return;
}

// --- The command table ----------------------------------------------------------------------

constexpr std::size_t kAnyCount = 1000000;  // a command that takes the rest of the line

// One row of the table: the command word, what follows it in the usage text, how many words
// may follow it (else it answers `error: ` and BADWORDS), whether it needs the game started,
// what `help` says of it (a new line of the summary is indented under the first), and the
// member that runs it.
struct Driver::Command {
    std::string_view name;
    std::string_view arguments;
    std::size_t minWords, maxWords;
    std::string_view badWords;
    bool needsGame;
    std::string_view summary;
    Handler run;
};

// clang-format off
const Driver::Command Driver::commandTable[] = {
    {"seed", "N", 1, 1, "seed needs a number 0..4294967295", false,
     "before start: every seeding of the dice uses N, as --seed does", &Driver::seedCommand},
    {"ini", "TEXT", 0, kAnyCount, "", false,
     "before start: appends TEXT to the settings file DIR/lumcrest.ini (needs\n"
     "--home); the first ini of a run begins the file afresh. %XX in TEXT is the\n"
     "byte of hex XX (%0A a line end, %25 a percent sign)", &Driver::iniCommand},
    {"start", "", 0, 0, "start takes no arguments", false,
     "constructs the windows (the clock at 0)  -> started | error: ...", &Driver::startCommand},
    {"key", "CODE", 1, 1, "key needs a code 0..255", true,
     "press and release of virtual key CODE", &Driver::keyCommand},
    {"text", "STRING", 0, kAnyCount, "", true,
     "types STRING into the focused control", &Driver::textCommand},
    {"move", "X Y", 2, 2, "move needs X Y", true,
     "the mouse moves to client pixel X, Y", &Driver::mouseCommand},
    {"down", "X Y", 2, 2, "down needs X Y", true,
     "the left button goes down at client pixel X, Y", &Driver::mouseCommand},
    {"up", "X Y", 2, 2, "up needs X Y", true,
     "the left button comes up at client pixel X, Y", &Driver::mouseCommand},
    {"click", "X Y", 2, 2, "click needs X Y", true,
     "down X Y, then up X Y", &Driver::mouseCommand},
    {"rdown", "X Y", 2, 2, "rdown needs X Y", true,
     "the right button goes down at client pixel X, Y", &Driver::mouseCommand},
    {"rup", "X Y", 2, 2, "rup needs X Y", true,
     "the right button comes up at client pixel X, Y", &Driver::mouseCommand},
    {"mdown", "X Y", 2, 2, "mdown needs X Y", true,
     "the middle button goes down at client pixel X, Y", &Driver::mouseCommand},
    {"mup", "X Y", 2, 2, "mup needs X Y", true,
     "the middle button comes up at client pixel X, Y", &Driver::mouseCommand},
    {"pad", "BUTTON [down|up]", 1, 2,
     "pad needs a button (a, b, x, y, back, start, dpup, dpdown, dpleft, dpright) and maybe "
     "down or up", true,
     "a game-controller button (a b x y back start dpup dpdown dpleft\n"
     "dpright): pressed and released, or only down or up", &Driver::padCommand},
    {"wait", "MS", 1, 1, "wait needs milliseconds", true,
     "moves the clock MS milliseconds, delivering every tick that falls due",
     &Driver::waitCommand},
    {"at", "US", 1, 1, "at needs microseconds, not before the clock", true,
     "moves the clock to US microseconds after start, delivering no tick", &Driver::atCommand},
    {"tick", "NAME", 1, 1, "tick needs a timer name", true,
     "delivers one tick of the enabled timer NAME now, as the real loop did\n"
     "(-> error: ... when it is off or unknown)", &Driver::tickCommand},
    {"get", "NAME", 1, 1, "get needs a field name", true,
     "a field of the game state  -> NAME=VALUE", &Driver::getCommand},
    {"set", "NAME VALUE", 2, 2, "set needs a field name and a value", true,
     "sets a field of the game state, nothing else", &Driver::setCommand},
    {"show", "NAME 0|1", 2, 2, "show needs a control name and 0 or 1", true,
     "hides or shows a control as a handler would", &Driver::showCommand},
    {"cell", "C R [V]", 2, 3, "cell needs C R (1..10) and maybe a value", true,
     "the board at column C, row R  -> cell C R=V; with V sets it", &Driver::cellCommand},
    {"board", "", 0, kAnyCount, "", true,
     "the board  -> 10 lines, row 10 first", &Driver::boardCommand},
    {"marks", "", 0, kAnyCount, "", true,
     "the marks grid  -> 10 lines, row 10 first", &Driver::marksCommand},
    {"blast", "", 0, kAnyCount, "", true,
     "the blast grid  -> 10 lines, row 10 first", &Driver::blastCommand},
    {"timers", "", 0, kAnyCount, "", true,
     "the main window's timers  -> NAME:on|off:INTERVAL ...", &Driver::timersCommand},
    {"sounds", "", 0, kAnyCount, "", true,
     "the effects played since the last sounds  -> sounds: FILE ...", &Driver::soundsCommand},
    {"cues", "", 0, kAnyCount, "", true,
     "the cues played since the last cues (shift, rotate, launch, bomb, chainN)\n"
     "  -> cues: NAME ...", &Driver::cuesCommand},
    {"music", "", 0, kAnyCount, "", true,
     "the music player  -> music track=FILE state=STATE timer=on|off ...",
     &Driver::musicCommand},
    {"control", "NAME", 1, 1, "control needs a name", true,
     "a control of either window  -> NAME visible=0|1 ... caption=TEXT",
     &Driver::controlCommand},
    {"textsize", "NAME", 1, 1, "textsize needs a name", true,
     "a control's caption measured in its font  -> NAME text=WxH box=WxH",
     &Driver::textsizeCommand},
    {"focus", "", 0, kAnyCount, "", true,
     "the control with the keyboard focus  -> focus=NAME", &Driver::focusCommand},
    {"pixel", "X Y", 2, 2, "pixel needs X Y inside the window", true,
     "the colour the player sees there  -> pixel X Y=RRGGBB", &Driver::pixelCommand},
    {"shot", "FILE", 0, kAnyCount, "", true,
     "writes the composed main window as a PNG file  -> shot FILE", &Driver::shotCommand},
    {"urls", "", 0, kAnyCount, "", true,
     "the addresses handed to the desktop  -> urls: URL ...", &Driver::urlsCommand},
    {"errors", "", 0, kAnyCount, "", true,
     "the error box's messages since the last errors  -> errors: | MESSAGE ...",
     &Driver::errorsCommand},
    {"beeps", "", 0, kAnyCount, "", true,
     "how many beeps sounded  -> beeps=N", &Driver::beepsCommand},
    {"close", "", 0, kAnyCount, "", true,
     "closes the main window as its close box does  -> closed", &Driver::closeCommand},
    {"echo", "TEXT", 0, kAnyCount, "", false, "-> TEXT", &Driver::echoCommand},
    {"help", "", 0, kAnyCount, "", false, "this text", &Driver::helpCommand},
};
// clang-format on

std::span<const Driver::Command> Driver::commands() {
    return commandTable;
}

const Driver::Command* Driver::findCommand(const std::string& name) {
    for (const Command& c : commands())
        if (c.name == name) return &c;
    return nullptr;
}

std::string Driver::commandHelp() {
    constexpr std::size_t column = 24;  // where the summaries begin
    std::string text;
    for (const Command& c : commands()) {
        std::string usage = "  " + std::string(c.name);
        if (!c.arguments.empty()) usage += " " + std::string(c.arguments);
        usage.resize(std::max(usage.size() + 2, column), ' ');
        text += usage;
        for (char ch : c.summary)
            text += ch == '\n' ? "\n" + std::string(column, ' ') : std::string(1, ch);
        text += '\n';
    }
    return text;
}

std::optional<long long> Driver::Words::integer(std::size_t i) const {
    return i < words.size() ? parseInteger(words[i]) : std::nullopt;
}

std::string Driver::Words::rest() const {
    std::size_t sp = line.find(' ');
    return sp == std::string::npos ? std::string() : line.substr(sp + 1);
}

bool Driver::execute(const std::string& line) {
    // Not even a comment may be that long: nothing of it is read.
    if (line.size() > kMaxLine)
        return answer("error: line longer than 1 MiB (1048576 bytes)"), true;
    if (line.empty() || line[0] == '#') return true;
    const Words w{line, splitWords(line)};
    const Command* command = findCommand(w[0]);
    // Before start only the commands that set it up are known: any other word is too early.
    if ((!command || command->needsGame) && !requireStarted()) return true;
    if (!command) return answer("error: unknown command " + w[0]), true;
    const std::size_t count = w.size() - 1;
    if (count < command->minWords || count > command->maxWords)
        return answer("error: " + std::string(command->badWords)), true;
    closed_ = false;
    (this->*command->run)(w);
    return !closed_;
}

// --- Setting up -----------------------------------------------------------------------------

void Driver::echoCommand(const Words& w) {
    answer(w.rest());
}

void Driver::helpCommand(const Words&) {
    std::string text = driverUsage();
    if (!text.empty() && text.back() == '\n') text.pop_back();
    answer(text);
}

void Driver::seedCommand(const Words& w) {
    auto v = w.integer(1);
    if (!v || *v < 0 || *v > 0xFFFFFFFFLL)
        return answer("error: seed needs a number 0..4294967295");
    if (program_) return answer("error: seed must come before start");
    options_.seed = std::uint32_t(*v);
}

void Driver::iniCommand(const Words& w) {
    if (program_) return answer("error: ini must come before start");
    // Only a folder given for the purpose is written: never the player's own settings.
    if (!options_.home) {
        // And the start is refused too: it would play on over the player's own file.
        iniRefused_ = true;
        return answer("error: ini needs --home");
    }
    std::string bytes;
    if (!unescapeIniChunk(w.rest(), bytes)) return answer("error: ini: bad %XX escape");
    fs::path file = fs::path(*options_.home) / "lumcrest.ini";
    std::ofstream f(file, std::ios::binary | (settingsStarted_ ? std::ios::app : std::ios::trunc));
    if (f) f.write(bytes.data(), std::streamsize(bytes.size()));
    if (!f) return answer("error: ini: cannot write " + file.string());
    settingsStarted_ = true;
}

void Driver::startCommand(const Words&) {
    if (program_) return answer("error: already started");
    if (iniRefused_)
        return answer(
            "error: no start after an ini without --home: the replay would play over "
            "the player's own settings file");
    std::error_code ec;
    fs::current_path(options_.dataDir, ec);
    if (ec) return answer("error: cannot enter data folder " + options_.dataDir);
    Environment env;
    env.settingsPath = options_.home ? (fs::path(*options_.home) / "lumcrest.ini").string()
                                     : defaultSettingsPath();
    env.localeDir = LUMCREST_DEFAULT_LOCALE_DIR;
    if (options_.seed) {
        std::uint32_t seed = *options_.seed;
        env.seedSource = [seed] { return seed; };
    } else {
        env.seedSource = clockSeed;
    }
    backend_.setClockUs(0);
    try {
        chooseLanguage(env);
        // The web page in the language just chosen.
        env.webAddress = webPageAddress(fs::current_path(ec).string(), tk::currentLanguage());
        program_ = openProgram(app_, env);
    } catch (const std::exception& e) {
        program_.reset();
        return answer(std::string("error: ") + e.what());
    }
    answer("started");
}

// --- Time and input -------------------------------------------------------------------------

void Driver::atCommand(const Words& w) {
    auto us = w.integer(1);
    if (!us || *us < backend_.nowUs())
        return answer("error: at needs microseconds, not before the clock");
    if (*us > kMaxClockUs) return answer("error: at: a replay ends 24 hours after start");
    backend_.setClockUs(*us);
}

void Driver::tickCommand(const Words& w) {
    tk::Timer* timer = nullptr;
    for (tk::Timer* t : app_.timers())
        if (t->name() == w[1]) timer = t;
    if (!timer) return answer("error: unknown timer " + w[1]);
    // The real loop only delivers enabled timers: a tick of one that is off here means the
    // replay went another way than the recorded play.
    if (!timer->enabled()) return answer("error: tick " + w[1] + ": the timer is off");
    app_.deliverTick(*timer);
}

void Driver::waitCommand(const Words& w) {
    auto ms = w.integer(1);
    if (!ms || *ms < 0) return answer("error: wait needs milliseconds");
    // The clock after the wait, not the wait alone, is held to the limit: so is a run's work.
    if (*ms > (kMaxClockUs - backend_.nowUs()) / 1000)
        return answer("error: wait: a replay ends 24 hours after start");
    backend_.advance(app_, *ms);
}

void Driver::keyCommand(const Words& w) {
    auto code = w.integer(1);
    if (!code || *code < 0 || *code > 255) return answer("error: key needs a code 0..255");
    tk::Window* target = activeWindow();
    app_.dispatch([&] { target->keyDown(int(*code)); });
    app_.dispatch([&] { target->keyUp(int(*code)); });
}

void Driver::padCommand(const Words& w) {
    std::optional<tk::PadButton> button = tk::padButtonByName(w[1]);
    bool press = w.size() == 2 || w[2] == "down";
    bool release = w.size() == 2 || w[2] == "up";
    if (!button || (!press && !release))
        return answer("error: " + std::string(findCommand("pad")->badWords));
    if (press) app_.padInput(*button, true);
    if (release) app_.padInput(*button, false);
}

void Driver::textCommand(const Words& w) {
    std::string text = w.rest();
    tk::Window* target = activeWindow();
    app_.dispatch([&] { target->textInput(text); });
}

void Driver::mouseCommand(const Words& w) {
    const std::string& cmd = w[0];
    auto x = w.integer(1), y = w.integer(2);
    if (!x || !y || *x < -100000 || *x > 100000 || *y < -100000 || *y > 100000)
        return answer("error: " + cmd + " needs X Y");
    int px = int(*x), py = int(*y);
    tk::Window* target = activeWindow();
    auto button = (cmd == "rdown" || cmd == "rup")   ? tk::MouseButton::Right
                  : (cmd == "mdown" || cmd == "mup") ? tk::MouseButton::Middle
                                                     : tk::MouseButton::Left;
    if (cmd == "move") app_.dispatch([&] { target->mouseMove(px, py); });
    if (cmd == "down" || cmd == "rdown" || cmd == "mdown" || cmd == "click")
        app_.dispatch([&] { target->mouseDown(button, px, py); });
    // The press may have opened a box: the release goes to the window that takes input now.
    if (cmd == "click") target = activeWindow();
    if (cmd == "up" || cmd == "rup" || cmd == "mup" || cmd == "click")
        app_.dispatch([&] { target->mouseUp(button, px, py); });
}

// --- The game's state -----------------------------------------------------------------------

void Driver::getCommand(const Words& w) {
    auto f = findWindowField(*program_->form, w[1]);
    if (!f) return answer("error: unknown field " + w[1]);
    answer(w[1] + "=" + f->text());
}

void Driver::setCommand(const Words& w) {
    auto f = findWindowField(*program_->form, w[1]);
    if (!f) return answer("error: unknown field " + w[1]);
    auto v = parseInteger(w[2]);
    if (!v || !f->assign(*v)) return answer("error: bad value for " + w[1]);
}

void Driver::showCommand(const Words& w) {
    if (w[2] != "0" && w[2] != "1") return answer("error: show needs a control name and 0 or 1");
    tk::Control* c = findControl(w[1]);
    if (!c) return answer("error: unknown control " + w[1]);
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
}

void Driver::cellCommand(const Words& w) {
    TForm1& form = *program_->form;
    auto c = w.integer(1), r = w.integer(2);
    if (!c || !r || *c < 1 || *c > 10 || *r < 1 || *r > 10)
        return answer("error: cell needs C R (1..10) and maybe a value");
    int x = columnX(int(*c)), y = rowY(int(*r));
    if (w.size() == 3)
        return answer("cell " + w[1] + " " + w[2] + "=" + std::to_string(form.play.cellAt(x, y)));
    auto v = w.integer(3);
    if (!v || *v < INT32_MIN || *v > INT32_MAX) return answer("error: bad cell value");
    form.play.cell(x, y) = int(*v);
}

void Driver::boardCommand(const Words&) {
    TForm1& form = *program_->form;
    answer(gridText([&](int x, int y) { return form.play.board[gridIndex(x, y)]; }));
}

void Driver::marksCommand(const Words&) {
    TForm1& form = *program_->form;
    answer(gridText([&](int x, int y) { return int(form.play.marks[gridIndex(x, y)]); }));
}

void Driver::blastCommand(const Words&) {
    TForm1& form = *program_->form;
    answer(gridText([&](int x, int y) { return form.play.blastCells[gridIndex(x, y)]; }));
}

void Driver::timersCommand(const Words&) {
    std::string text;
    for (tk::Timer* t : program_->form->timerTable) {
        if (!text.empty()) text += ' ';
        text += t->name() + (t->enabled() ? ":on:" : ":off:") + std::to_string(t->interval());
    }
    answer(text);
}

// --- What the player sees and hears ---------------------------------------------------------

void Driver::soundsCommand(const Words&) {
    std::string text = "sounds:";
    for (const std::string& s : backend_.recorder().takeEffects()) text += " " + s;
    answer(text);
}

void Driver::cuesCommand(const Words&) {
    std::string text = "cues:";
    for (const std::string& file : backend_.recorder().takeCues())
        text += " " + file.substr(0, file.rfind(".wav"));
    answer(text);
}

void Driver::musicCommand(const Words&) {
    answer(musicLine());
}

void Driver::controlCommand(const Words& w) {
    answer(describeControl(w[1]));
}

void Driver::textsizeCommand(const Words& w) {
    // The caption's extent in its font beside the control's box, to see that words fit.
    tk::Control* c = findControl(w[1]);
    if (!c) return answer("error: no control " + w[1]);
    const tk::FontSpec* font = c->captionFont();
    tk::TextSize text = font ? tk::measureText(c->captionText(), *font) : tk::TextSize{};
    answer(w[1] + " text=" + std::to_string(text.width) + "x" + std::to_string(text.height) +
           " box=" + std::to_string(c->width()) + "x" + std::to_string(c->height()));
}

void Driver::focusCommand(const Words&) {
    tk::Window* win = activeWindow();
    tk::Control* f = win ? win->focus() : nullptr;
    answer(std::string("focus=") + (f ? f->name() : "-"));
}

void Driver::pixelCommand(const Words& w) {
    TForm1& form = *program_->form;
    auto x = w.integer(1), y = w.integer(2);
    if (!x || !y || *x < 0 || *y < 0 || *x >= form.clientWidth() || *y >= form.clientHeight())
        return answer("error: pixel needs X Y inside the window");
    answer("pixel " + w[1] + " " + w[2] + "=" + hexColour(form.composedPixel(int(*x), int(*y))));
}

tk::Image Driver::frame() {
    if (!program_ || !program_->form) return {};
    TForm1& form = *program_->form;
    tk::Image out(form.clientWidth(), form.clientHeight());
    form.compose(out, tk::Rect{0, 0, form.clientWidth(), form.clientHeight()});
    return out;
}

void Driver::shotCommand(const Words& w) {
    std::string file = w.rest();
    if (file.empty()) return answer("error: shot needs a file name");
    const tk::Image shown = frame();
    std::string why;
    int fd = openShotFile(file, shots_, why);
    if (fd < 0) return answer("error: " + why);
    if (!writeAndClose(fd, tk::encodePng(shown)))
        return answer("error: " + tk::tr("Cannot create file \"%s\"", file));
    answer("shot " + file);
}

void Driver::urlsCommand(const Words&) {
    std::string text = "urls:";
    for (const std::string& u : backend_.urls()) text += " " + u;
    answer(text);
}

void Driver::errorsCommand(const Words&) {
    std::string text = "errors:";
    for (const std::string& e : backend_.takeErrors()) text += " | " + e;
    answer(text);
}

void Driver::beepsCommand(const Words&) {
    answer("beeps=" + std::to_string(backend_.beeps()));
}

void Driver::closeCommand(const Words&) {
    program_->form->requestClose();
    answer("closed");
    closed_ = true;
}

}  // namespace lumcrest
