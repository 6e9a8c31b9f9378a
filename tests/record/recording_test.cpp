// Recordings of play replay exactly: a session played through the input entry points on a clock
// that jitters and stalls like the real loop's (late ticks dropped) is written by the recorder,
// then replayed by the driver from an empty settings folder, and both saved files must be the
// same bytes. Also the command line and the driver's replay commands.
#include <gtest/gtest.h>
#include <unistd.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <optional>
#include <random>
#include <sstream>
#include <string>
#include <vector>

#include "app/command_line.h"
#include "app/program.h"
#include "app/recorder.h"
#include "toolkit/application.h"
#include "toolkit/control.h"
#include "toolkit/headless/headless_backend.h"
#include "toolkit/timer.h"
#include "toolkit/window.h"
#include "tools/lumcrest-drive/driver.h"

namespace lumcrest {
namespace {

namespace fs = std::filesystem;

std::string readFile(const fs::path& p) {
    std::ifstream in(p, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

struct TempDir {
    fs::path path;
    TempDir() {
        std::string pattern = (fs::temp_directory_path() / "lumcrest-rec-XXXXXX").string();
        if (::mkdtemp(pattern.data())) path = pattern;
    }
    ~TempDir() {
        std::error_code ec;
        fs::remove_all(path, ec);
    }
};

// A session played on the headless backend as the real loop runs it: the clock moves in uneven
// steps, now and then a long stall (so ticks fall late and are dropped), only ticks due by now
// are delivered, and a bot's input arrives between them through the application's entry points.
class RecordedSession {
  public:
    RecordedSession(const fs::path& home, const fs::path& script, std::uint32_t seed)
        : app_(backend_), script_(std::fopen(script.c_str(), "w")) {
        if (::chdir(LUMCREST_TEST_DATA_DIR) != 0) throw std::runtime_error("no data folder");
        Environment env;
        env.settingsPath = (home / "lumcrest.ini").string();
        env.webAddress = "about:blank";
        env.seedSource = [seed] { return seed; };
        std::string settings = readFile(env.settingsPath);
        bool existed = fs::exists(env.settingsPath);
        // The real game's clock is not at 0 when it starts.
        backend_.setClockUs(7'654'321);
        recorder_ = std::make_unique<SessionRecorder>(app_, script_, backend_.nowUs());
        recorder_->writeHead("test", existed, settings, seed);
        program_ = startProgram(app_, env);
        app_.inputObserver = recorder_.get();
    }
    ~RecordedSession() {
        app_.inputObserver = nullptr;
        program_.reset();
        if (script_) std::fclose(script_);
    }

    TForm1& form() { return *program_->form; }
    tk::Window& active() { return *app_.activeWindow(); }
    tk::Application& app() { return app_; }
    int droppedTicks() const { return dropped_; }

    // Lets LONGUS of loop time pass in uneven steps, delivering what falls due.
    void run(std::int64_t longUs) {
        std::int64_t end = backend_.nowUs() + longUs;
        while (backend_.nowUs() < end && !app_.quitting()) {
            std::int64_t step = 1000 + std::int64_t(rng_() % 23000);
            if (rng_() % 40 == 0) step += 60000 + rng_() % 90000;  // a stall
            backend_.setClockUs(std::min(end, backend_.nowUs() + step));
            deliverDue();
        }
    }
    void deliverDue() {
        std::int64_t now = backend_.nowUs();
        while (!app_.quitting()) {
            tk::Timer* t = app_.nextDueTimer();
            if (!t || t->dueUs() > now) break;
            if (t->dueUs() <= now - std::int64_t(t->interval()) * 1000) ++dropped_;
            app_.deliverTick(*t);
        }
    }
    void key(int vk) {
        app_.inputKeyDown(active(), vk);
        run(3000);
        app_.inputKeyUp(active(), vk);
    }
    void click(int x, int y) {
        app_.inputMouseMove(active(), x, y);
        app_.inputMouseDown(active(), tk::MouseButton::Left, x, y);
        run(40000);
        app_.inputMouseUp(active(), tk::MouseButton::Left, x, y);
    }
    // A player who shifts, rotates and launches at random, quick or slow.
    void play(int moves) {
        static const int kKeys[] = {37, 39, 40, 38, 38, 32, 100, 102, 101};
        for (int i = 0; i < moves && !app_.quitting(); ++i) {
            key(kKeys[rng_() % std::size(kKeys)]);
            run(20000 + std::int64_t(rng_() % 400000));
        }
    }
    void close() { app_.inputCloseRequest(form()); }

  private:
    tk::HeadlessBackend backend_;
    tk::Application app_;
    std::FILE* script_;
    std::unique_ptr<SessionRecorder> recorder_;
    std::unique_ptr<Program> program_;
    std::mt19937 rng_{12345};
    int dropped_ = 0;
};

// A driver on the build's data folder with its settings in HOME.
DriverOptions driverIn(const fs::path& home) {
    DriverOptions o;
    o.home = home.string();
    o.dataDir = LUMCREST_TEST_DATA_DIR;
    return o;
}

// Replays SCRIPT with the driver in HOME; returns the driver's answers.
std::string replay(const fs::path& script, const fs::path& home) {
    std::ostringstream out;
    {
        Driver d(driverIn(home), out);
        std::ifstream in(script);
        d.run(in);
    }
    return out.str();
}

TEST(Recording, AFirstStartWithNameMenuAndPlayReplaysToTheSameSavedFile) {
    TempDir home, again, files;
    fs::path script = files.path / "session.txt";
    int dropped = 0;
    {
        RecordedSession s(home.path, script, 2024);
        s.run(500000);
        // The name panel: type a name, confirm; the menu's Play; then play.
        s.app().inputText(s.active(), "Ada");
        s.run(120000);
        s.key(13);
        s.run(300000);
        s.click(400, 170);
        s.run(300000);
        s.play(150);
        s.close();
        dropped = s.droppedTicks();
    }
    ASSERT_TRUE(fs::exists(home.path / "lumcrest.ini"));
    EXPECT_GT(dropped, 0) << "the session should have dropped late ticks";
    std::string text = readFile(script);
    EXPECT_NE(text.find("\nseed 2024\nstart\n"), std::string::npos);
    EXPECT_NE(text.find("\ntext Ada\n"), std::string::npos);
    EXPECT_NE(text.find("\ntick Timer1\n"), std::string::npos);
    EXPECT_EQ(text.substr(text.size() - 6), "close\n");

    std::string answers = replay(script, again.path);
    EXPECT_EQ(answers.find("error"), std::string::npos) << answers;
    std::string original = readFile(home.path / "lumcrest.ini");
    EXPECT_NE(original.find("[Gembox]"), std::string::npos);
    EXPECT_EQ(readFile(again.path / "lumcrest.ini"), original);
}

TEST(Recording, ALaterStartCarriesTheSettingsFileIntoTheReplay) {
    TempDir home, again, files;
    // A game in progress with an odd file: a line without its end, a carriage return, a percent.
    {
        std::ofstream f(home.path / "lumcrest.ini", std::ios::binary);
        f << "[Settings]\r\nFirst=0\nSound=1\nMusic=0\nName=50% Grace\n[Techinfo]\nStage=2\n"
             "Score=777\n[Scoreline1]\nName=x\nScore=5";
    }
    fs::path script = files.path / "session.txt";
    {
        RecordedSession s(home.path, script, 99);
        s.run(200000);
        s.click(400, 170);
        s.run(200000);
        s.play(80);
        s.close();
    }
    std::string text = readFile(script);
    EXPECT_NE(text.find("ini [Settings]%0D%0A\n"), std::string::npos);
    EXPECT_NE(text.find("ini Name=50%25 Grace%0A\n"), std::string::npos);
    std::string answers = replay(script, again.path);
    EXPECT_EQ(answers.find("error"), std::string::npos) << answers;
    EXPECT_EQ(readFile(again.path / "lumcrest.ini"), readFile(home.path / "lumcrest.ini"));
}

TEST(Recording, TheAboutBoxAndItsCloseBoxAreRecordedForTheBoxThatTakesInput) {
    TempDir home, again, files;
    fs::path script = files.path / "session.txt";
    {
        RecordedSession s(home.path, script, 5);
        s.app().inputText(s.active(), "Bo");
        s.key(13);
        s.run(100000);
        // The About button of the menu, then the box's own close box.
        tk::Control* about = s.form().findControl("Aboutbutton");
        ASSERT_NE(about, nullptr);
        tk::Rect r = about->windowRect();
        s.click(r.x + r.w / 2, r.y + r.h / 2);
        s.run(100000);
        ASSERT_NE(&s.active(), &s.form()) << "the About box should be open";
        // Input for a window that does not take input is not the game's, nor the recording's.
        s.app().inputKeyDown(s.form(), 38);
        s.app().inputCloseRequest(s.active());
        s.run(100000);
        s.close();
    }
    std::string text = readFile(script);
    EXPECT_NE(text.find("\nshow AboutBox 0\n"), std::string::npos) << text;
    std::string answers = replay(script, again.path);
    EXPECT_EQ(answers.find("error"), std::string::npos) << answers;
    EXPECT_EQ(readFile(again.path / "lumcrest.ini"), readFile(home.path / "lumcrest.ini"));
}

TEST(Recording, PadButtonsAreRecordedAsTheirHalvesAtTheirTimes) {
    TempDir files;
    fs::path script = files.path / "pads.txt";
    tk::HeadlessBackend backend;
    tk::Application app(backend);
    std::FILE* out = std::fopen(script.c_str(), "w");
    ASSERT_NE(out, nullptr);
    {
        backend.setClockUs(1000);
        SessionRecorder r(app, out, 1000);
        backend.setClockUs(251000);
        r.padButton(tk::PadButton::A, true);
        backend.setClockUs(301000);
        r.padButton(tk::PadButton::A, false);
        r.padButton(tk::PadButton::DpLeft, true);
    }
    std::fclose(out);
    EXPECT_EQ(readFile(script), "at 250000\npad a down\nat 300000\npad a up\npad dpleft down\n");
}

TEST(Recording, IniChunksEscapeExactlyTheBytesThatCannotTravelInALine) {
    std::string all;
    for (int c = 0; c < 256; ++c) all += char(c);
    std::string back;
    ASSERT_TRUE(unescapeIniChunk(escapeIniChunk(all), back));
    EXPECT_EQ(back, all);
    EXPECT_EQ(escapeIniChunk("Name=Zoë 100%\r\n"), "Name=Zoë 100%25%0D%0A");
    for (const char* bad : {"%", "%4", "%G0", "a%0"})
        EXPECT_FALSE(unescapeIniChunk(bad, back)) << bad;
}

TEST(CommandLine, OptionsHelpVersionAndMistakes) {
    using A = CommandLine::Action;
    EXPECT_EQ(parseCommandLine({}).action, A::Play);
    EXPECT_EQ(parseCommandLine({"--help"}).action, A::Help);
    EXPECT_EQ(parseCommandLine({"--seed", "4", "-h"}).action, A::Help);
    EXPECT_EQ(parseCommandLine({"--version"}).action, A::Version);
    EXPECT_EQ(parseCommandLine({"-V"}).action, A::Version);
    EXPECT_EQ(parseCommandLine({"-h"}).action, A::Help);
    CommandLine c = parseCommandLine({"--seed", "4294967295", "--record=/tmp/x y"});
    EXPECT_EQ(c.action, A::Play);
    EXPECT_EQ(c.seed, 4294967295u);
    EXPECT_EQ(c.recordFile, "/tmp/x y");
    for (std::vector<std::string> bad : {std::vector<std::string>{"--frobnicate"},
                                         {"--seed"},
                                         {"--seed", "-1"},
                                         {"--seed", "4294967296"},
                                         {"--seed=12x"},
                                         {"--record"},
                                         {"--record="},
                                         {"file"},
                                         {"--help=yes"},
                                         {"--version=2"},
                                         {"-v"}}) {
        CommandLine e = parseCommandLine(bad);
        EXPECT_EQ(e.action, A::Error) << bad[0];
        EXPECT_EQ(e.error.find('\n'), std::string::npos);
    }
    std::string usage = usageText("/home/p/.config/lumcrest/lumcrest.ini");
    for (const char* word : {"--record FILE", "--seed N", "--help", "--version",
                             "/home/p/.config/lumcrest/lumcrest.ini", "XDG_CONFIG_HOME"})
        EXPECT_NE(usage.find(word), std::string::npos) << word;
}

TEST(DriverReplayCommands, RefuseWhatTheRealLoopCouldNotHaveDone) {
    TempDir home;
    std::ostringstream out;
    Driver d(driverIn(home.path), out);
    for (const char* line :
         {"ini [Settings]%0AName=Ann%0A", "ini First=0%0A", "ini bad%4", "seed 12", "seed -3",
          "tick Timer1", "start", "seed 4", "ini x", "at 5000", "at 4999", "at x",
          "tick Nosuchtimer", "tick Timer1", "tick Atimer", "get Timer1", "get playerName"})
        d.execute(line);
    EXPECT_EQ(out.str(),
              "error: ini: bad %XX escape\n"
              "error: seed needs a number 0..4294967295\n"
              "error: not started\n"
              "started\n"
              "error: seed must come before start\n"
              "error: ini must come before start\n"
              "error: at needs microseconds, not before the clock\n"
              "error: at needs microseconds, not before the clock\n"
              "error: unknown timer Nosuchtimer\n"
              "error: tick Timer1: the timer is off\n"
              "error: unknown field Timer1\n"
              "playerName=Ann\n");
    // Without --home the player's own settings file is never written.
    DriverOptions bare;
    bare.dataDir = LUMCREST_TEST_DATA_DIR;
    std::ostringstream out2;
    Driver d2(bare, out2);
    d2.execute("ini [Settings]%0A");
    EXPECT_EQ(out2.str(), "error: ini needs --home\n");
}

// Every command of the help, given too few, too many or wrong words, answers nothing or one
// line; a refusal always says what the command needs. A table row whose word counts do not
// match what its handler reads, or that lacks its message, fails here.
TEST(DriverCommands, EveryCommandOfTheHelpTakesAnyWordsWithoutHarm) {
    std::vector<std::string> words;
    std::istringstream help(driverUsage());
    bool inCommands = false;
    for (std::string line; std::getline(help, line);) {
        if (line.starts_with("Commands")) inCommands = true;
        if (inCommands && line.size() > 2 && line.starts_with("  ") && line[2] != ' ')
            words.push_back(line.substr(2, line.find(' ', 2) - 2));
    }
    ASSERT_GE(words.size(), 38u);
    TempDir home;
    std::ostringstream out;
    Driver d(driverIn(home.path), out);
    // Before start only the set-up commands are taken.
    for (const std::string& w : words) {
        out.str("");
        d.execute(w + " x");
        bool setUp = w == "seed" || w == "ini" || w == "start" || w == "echo" || w == "help";
        if (!setUp) {
            EXPECT_EQ(out.str(), "error: not started\n") << w;
        }
    }
    ASSERT_TRUE(d.execute("start"));
    for (const std::string& w : words) {
        if (w == "close" || w == "shot") continue;  // the one ends the run, the other writes
        for (int extra = 0; extra <= 4; ++extra) {
            std::string line = w;
            for (int i = 0; i < extra; ++i) line += " x";
            out.str("");
            ASSERT_NO_THROW(EXPECT_TRUE(d.execute(line))) << line;
            const std::string answer = out.str();
            EXPECT_EQ(answer.find("unknown command"), std::string::npos) << line;
            if (answer.starts_with("error:")) {
                EXPECT_GT(answer.size(), std::string("error: \n").size()) << line;
                EXPECT_EQ(std::count(answer.begin(), answer.end(), '\n'), 1) << line;
            }
        }
    }
    out.str("");
    EXPECT_FALSE(d.execute("close x"));
    EXPECT_EQ(out.str(), "closed\n");
}

// Replays that cannot harm: a replay writes no file it did not make, never the player's own
// settings, and a script cannot make it hold a runaway line or run without end.
class ReplaysThatCannotHarm : public ::testing::Test {
  protected:
    // The answers of a driver with its settings in SETTINGSIN (none: the usual place, no
    // --home) to SCRIPT as its input.
    std::string run(const std::string& script, const std::optional<fs::path>& settingsIn) {
        DriverOptions options = driverIn(settingsIn.value_or(fs::path()));
        if (!settingsIn) options.home.reset();
        std::ostringstream out;
        Driver d(options, out);
        std::istringstream in(script);
        d.run(in);
        return out.str();
    }
    TempDir home, files;
};

TEST_F(ReplaysThatCannotHarm, ARecordingWithoutHomeIsNotPlayedOverThePlayersFile) {
    TempDir config;
    const char* before = std::getenv("XDG_CONFIG_HOME");
    std::optional<std::string> saved = before ? std::optional<std::string>(before) : std::nullopt;
    ::setenv("XDG_CONFIG_HOME", config.path.c_str(), 1);
    const std::string answers =
        run("# a recording of a later run\nini [Settings]%0A\nini First=0%0A\nini Name=Ann%0A\n"
            "seed 3\nstart\nkey 13\nat 500000\nclose\n",
            std::nullopt);
    // Without ini lines the driver starts there as ever.
    const std::string bare = run("start\n", std::nullopt);
    saved ? ::setenv("XDG_CONFIG_HOME", saved->c_str(), 1) : ::unsetenv("XDG_CONFIG_HOME");
    EXPECT_EQ(answers,
              "error: ini needs --home\nerror: ini needs --home\nerror: ini needs --home\n"
              "error: no start after an ini without --home: the replay would play over the "
              "player's own settings file\nerror: not started\nerror: not started\n"
              "error: not started\n");
    EXPECT_FALSE(fs::exists(config.path / "lumcrest" / "lumcrest.ini"));
    EXPECT_EQ(bare, "started\n");
}

TEST_F(ReplaysThatCannotHarm, AShotWritesOnlyAFileOfItsOwnRun) {
    const fs::path precious = files.path / "precious.png", fresh = files.path / "fresh.png";
    { std::ofstream(precious) << "not a picture"; }
    fs::create_symlink(precious, files.path / "link.png");
    fs::create_symlink(files.path / "nothing.png", files.path / "dangling.png");
    std::string script = "start\n";
    for (const char* name : {"precious.png", "link.png", "dangling.png", "fresh.png", "fresh.png"})
        script += "shot " + (files.path / name).string() + "\n";
    std::istringstream answers(run(script, home.path));
    std::string line;
    std::getline(answers, line);
    EXPECT_EQ(line, "started");
    for (int i = 0; i < 3; ++i) {
        std::getline(answers, line);
        EXPECT_TRUE(line.starts_with("error: shot: ")) << line;
    }
    // Its own file, written again in the same run.
    for (int i = 0; i < 2; ++i) {
        std::getline(answers, line);
        EXPECT_EQ(line, "shot " + fresh.string());
    }
    EXPECT_EQ(readFile(precious), "not a picture");
    EXPECT_FALSE(fs::exists(files.path / "nothing.png"));
    EXPECT_TRUE(readFile(fresh).starts_with("\x89PNG"));
    // A later run did not make it.
    EXPECT_TRUE(run("start\nshot " + fresh.string() + "\n", home.path)
                    .starts_with("started\nerror: shot: "));
}

TEST_F(ReplaysThatCannotHarm, LinesLongerThanOneMebibyteAreRefusedUnread) {
    const std::size_t mib = 1 << 20;
    const std::string a(mib - 5, 'a'), b(mib - 5, 'b');
    // Exactly 1 MiB, without the line end (\n or \r\n), is taken; one byte more is not, nor a
    // comment that long; the input may end without a line end.
    const std::string answers = run("echo " + a + "\necho " + b + "\r\necho " + a + "a\n#" +
                                        std::string(3 * mib, '#') + "\necho last",
                                    home.path);
    const std::string refused = "error: line longer than 1 MiB (1048576 bytes)\n";
    EXPECT_TRUE(answers == a + "\n" + b + "\n" + refused + refused + "last\n")
        << answers.size() << " bytes of answers: " << answers.substr(0, 80);
}

TEST_F(ReplaysThatCannotHarm, TheClockStopsTwentyFourHoursAfterStart) {
    // The bound is the clock after a wait (so the ticks of a whole run), as it is for at.
    EXPECT_EQ(run("start\nwait 86400001\nat 86400000001\nat 86399999000\nwait 2\nwait 1\n"
                  "wait 1\nat 86400000000\nwait 0\necho done\n",
                  home.path),
              "started\nerror: wait: a replay ends 24 hours after start\n"
              "error: at: a replay ends 24 hours after start\n"
              "error: wait: a replay ends 24 hours after start\n"
              "error: wait: a replay ends 24 hours after start\ndone\n");
}

TEST_F(ReplaysThatCannotHarm, ASettingsFileWithAnOverlongLineStillReplays) {
    const std::string settings = "[Settings]\nName=" + std::string(3 << 20, 'z') + "\nFirst=0\n";
    const fs::path script = files.path / "session.txt";
    {
        tk::HeadlessBackend backend;
        tk::Application app(backend);
        std::FILE* out = std::fopen(script.c_str(), "w");
        ASSERT_NE(out, nullptr);
        SessionRecorder(app, out, 0).writeHead("test", true, settings, 1);
        std::fclose(out);
    }
    std::ifstream in(script);
    for (std::string line; std::getline(in, line);) EXPECT_LE(line.size(), 1u << 20);
    EXPECT_EQ(replay(script, home.path).find("error"), std::string::npos);
    EXPECT_EQ(readFile(home.path / "lumcrest.ini"), settings);
}

}  // namespace
}  // namespace lumcrest
