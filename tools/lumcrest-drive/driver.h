// The script driver: runs the whole game on the headless backend and answers one command per
// line. Its commands and answers are a contract with tests we do not see: keep them exact.
#pragma once

#include <cstdint>
#include <functional>
#include <iosfwd>
#include <memory>
#include <optional>
#include <span>
#include <string>
#include <utility>
#include <vector>

#include "app/program.h"
#include "toolkit/application.h"
#include "toolkit/headless/headless_backend.h"
#include "toolkit/image.h"

namespace lumcrest {

struct DriverOptions {
    std::optional<std::string> home;  // folder of lumcrest.ini
    std::string dataDir;              // working directory with the asset files
    std::optional<std::uint32_t> seed;
    bool help = false;     // --help: print the usage text and the commands, then exit
    bool version = false;  // --version
};

// The usage text of --help and of the `help` command: the options and every command.
std::string driverUsage();

class Driver {
  public:
    Driver(DriverOptions options, std::ostream& out);
    ~Driver();

    // Runs one command line. Returns false when the driver should exit (after `close`).
    bool execute(const std::string& line);
    // Reads commands until the end of IN or `close`.
    void run(std::istream& in);
    // The command list of the usage text, one line (or more) per command.
    static std::string commandHelp();
    // The composed main window, as `shot` writes it, for a test that runs the driver in its own
    // process and looks at many frames; empty before `start`.
    tk::Image frame();

  private:
    // The words of one command line, split at single spaces.
    struct Words {
        const std::string& line;
        std::vector<std::string> words;
        std::size_t size() const { return words.size(); }
        // Word I; a handler only reads words the table lets the command have (a word beyond
        // them throws, so a row that promises too little shows at once).
        const std::string& operator[](std::size_t i) const { return words.at(i); }
        // Word I as a decimal integer; nothing when it is missing or not a number.
        std::optional<long long> integer(std::size_t i) const;
        // Everything after the first space (empty without one).
        std::string rest() const;
    };
    using Handler = void (Driver::*)(const Words&);
    struct Command;
    static const Command commandTable[];
    static std::span<const Command> commands();
    static const Command* findCommand(const std::string& name);

    void answer(const std::string& text);
    bool requireStarted();
    tk::Window* activeWindow();
    tk::Control* findControl(const std::string& name);
    std::string describeControl(const std::string& name);
    std::string musicLine();
    std::string gridText(const std::function<int(int x, int y)>& value);

    // The commands, one member each (driver.cpp has the table that names them).
    void echoCommand(const Words& w);
    void helpCommand(const Words& w);
    void seedCommand(const Words& w);
    void iniCommand(const Words& w);
    void startCommand(const Words& w);
    void atCommand(const Words& w);
    void tickCommand(const Words& w);
    void keyCommand(const Words& w);
    void padCommand(const Words& w);
    void textCommand(const Words& w);
    void mouseCommand(const Words& w);
    void waitCommand(const Words& w);
    void getCommand(const Words& w);
    void setCommand(const Words& w);
    void showCommand(const Words& w);
    void cellCommand(const Words& w);
    void boardCommand(const Words& w);
    void marksCommand(const Words& w);
    void blastCommand(const Words& w);
    void timersCommand(const Words& w);
    void soundsCommand(const Words& w);
    void cuesCommand(const Words& w);
    void musicCommand(const Words& w);
    void controlCommand(const Words& w);
    void textsizeCommand(const Words& w);
    void focusCommand(const Words& w);
    void pixelCommand(const Words& w);
    void shotCommand(const Words& w);
    void urlsCommand(const Words& w);
    void errorsCommand(const Words& w);
    void beepsCommand(const Words& w);
    void closeCommand(const Words& w);

    DriverOptions options_;
    std::ostream& out_;
    tk::HeadlessBackend backend_;
    tk::Application app_;
    std::unique_ptr<Program> program_;
    bool settingsStarted_ = false;  // an `ini` command has begun the settings file
    bool iniRefused_ = false;       // an `ini` was refused for want of --home: so is `start`
    // The files this run's shots created (device, inode): the only ones a shot may write again.
    std::vector<std::pair<std::uint64_t, std::uint64_t>> shots_;
    bool closed_ = false;  // `close` was given: the driver stops reading
};

// Parses the command line; on a bad option prints usage to standard error and returns nothing.
std::optional<DriverOptions> parseDriverOptions(int argc, char** argv);

}  // namespace lumcrest
