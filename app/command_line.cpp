#include "app/command_line.h"

#include <charconv>

#ifndef LUMCREST_VERSION
#define LUMCREST_VERSION "0"
#endif

namespace lumcrest {

const char* gameVersion() {
    return LUMCREST_VERSION;
}

namespace {

std::optional<std::uint32_t> parseSeed(const std::string& s) {
    unsigned long long v = 0;
    auto [p, ec] = std::from_chars(s.data(), s.data() + s.size(), v);
    if (s.empty() || ec != std::errc() || p != s.data() + s.size() || v > 0xFFFFFFFFull)
        return std::nullopt;
    return std::uint32_t(v);
}

CommandLine failure(std::string message) {
    CommandLine c;
    c.action = CommandLine::Action::Error;
    c.error = std::move(message);
    return c;
}

}  // namespace

CommandLine parseCommandLine(const std::vector<std::string>& args) {
    CommandLine c;
    for (std::size_t i = 0; i < args.size(); ++i) {
        std::string a = args[i];
        std::optional<std::string> inlineValue;
        if (a.rfind("--", 0) == 0) {
            if (std::size_t eq = a.find('='); eq != std::string::npos) {
                inlineValue = a.substr(eq + 1);
                a = a.substr(0, eq);
            }
        }
        auto value = [&]() -> std::optional<std::string> {
            if (inlineValue) return inlineValue;
            if (i + 1 < args.size()) return args[++i];
            return std::nullopt;
        };
        if ((a == "--help" || a == "-h") && !inlineValue) {
            c.action = CommandLine::Action::Help;
            return c;
        }
        if ((a == "--version" || a == "-V") && !inlineValue) {
            c.action = CommandLine::Action::Version;
            return c;
        }
        if (a == "--seed") {
            auto v = value();
            if (!v) return failure("option '--seed' needs a number");
            auto seed = parseSeed(*v);
            if (!seed)
                return failure("option '--seed' needs a number 0..4294967295, not '" + *v + "'");
            c.seed = seed;
        } else if (a == "--record") {
            auto v = value();
            if (!v || v->empty()) return failure("option '--record' needs a file name");
            c.recordFile = *v;
        } else if (a == "--replay") {
            auto v = value();
            if (!v || v->empty()) return failure("option '--replay' needs a file name");
            c.replayFile = *v;
        } else if (!a.empty() && a[0] == '-') {
            return failure("unknown option '" + args[i] + "'");
        } else {
            return failure("unexpected argument '" + a + "'");
        }
    }
    // A replay plays the recording's own seed and records nothing.
    if (c.replayFile && (c.recordFile || c.seed))
        return failure("option '--replay' cannot be used with '--record' or '--seed'");
    return c;
}

std::string usageText(const std::string& settingsPath) {
    return "Usage: lumcrest [OPTION]...\n"
           "Lumcrest, a puzzle game: launch bars of three gems up into a well, line up runs and\n"
           "squares, set off chains, clear stages.\n"
           "\n"
           "Options:\n"
           "  --record FILE  write the session, as it is played, to FILE as a script that\n"
           "                 lumcrest-drive replays exactly (lumcrest-drive --home DIR < FILE)\n"
           "  --replay FILE  watch a recording made with --record in the window, at its speed\n"
           "                 and with its sound: Space pauses, Right doubles the speed, Left\n"
           "                 halves it, Escape ends it; your own settings file is left alone\n"
           "  --seed N       seed the dice with N (0..4294967295) instead of the clock\n"
           "  -h, --help     show this help and exit\n"
           "  -V, --version  show the version and exit\n"
           "\n"
           "Keys: Left/Right move the bar, Down rotates its gems, Up or Space launches it.\n"
           "\n"
           "Settings, high scores and the game in progress are kept in\n"
           "  " +
           (settingsPath.empty() ? std::string("nowhere: there is no home folder") : settingsPath) +
           "\n"
           "($XDG_CONFIG_HOME/lumcrest/lumcrest.ini, or ~/.config/lumcrest/lumcrest.ini).\n"
           "See lumcrest(6) for more.\n";
}

}  // namespace lumcrest
