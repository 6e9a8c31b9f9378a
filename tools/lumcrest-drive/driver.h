// The script driver: runs the whole game on the headless backend and answers one command per
// line. Its commands and answers are a contract with tests we do not see: keep them exact.
#pragma once

#include <cstdint>
#include <iosfwd>
#include <memory>
#include <optional>
#include <string>

#include "app/program.h"
#include "toolkit/application.h"
#include "toolkit/headless/headless_backend.h"

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

  private:
    void answer(const std::string& text);
    bool requireStarted();
    tk::Window* activeWindow();
    tk::Control* findControl(const std::string& name);
    std::string describeControl(const std::string& name);
    std::string musicLine();
    std::string gridText(const std::function<int(int x, int y)>& value);

    DriverOptions options_;
    std::ostream& out_;
    tk::HeadlessBackend backend_;
    tk::Application app_;
    std::unique_ptr<Program> program_;
    bool settingsStarted_ = false;  // an `ini` command has begun the settings file
};

// Parses the command line; on a bad option prints usage to standard error and returns nothing.
std::optional<DriverOptions> parseDriverOptions(int argc, char** argv);

}  // namespace lumcrest
