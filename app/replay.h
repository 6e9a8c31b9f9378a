// Watching a recording: `lumcrest --replay FILE` plays a script that --record wrote in the real
// window, at the speed it was played, with the sound. The recording's events are handed to the
// game at their recorded moments instead of the player's input and the clock's ticks: Space
// pauses, Right doubles the speed (up to 16 times), Left halves it, Escape ends the replay.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "app/program.h"
#include "toolkit/application.h"

namespace lumcrest {

struct ReplayScript {
    struct Event {
        std::int64_t us;   // when, after start
        int line;          // its line in the file
        std::string text;  // the line itself
    };
    bool hasSettings = false;
    std::string settings;  // the settings file the recording started from
    std::uint32_t seed = 0;
    std::vector<Event> events;  // everything after `start`, in order
    int lines = 0;              // how many lines the file has
};

// Reads a recording. Nothing, with WHY in one line, when the file cannot be read or is not a
// recording (a line longer than 1 MiB, a command before `start` that a recording never has, no
// `start`, a clock going backwards or beyond 24 hours).
std::optional<ReplayScript> readReplayScript(const std::string& path, std::string& why);

class ReplayPlayer {
  public:
    // Plays SCRIPT on PROGRAM; the script's time 0 is APP's clock at ORIGINUS.
    ReplayPlayer(tk::Application& app, Program& program, const ReplayScript& script,
                 std::int64_t originUs);

    // The moment (APP's clock) the next event is due; -1 while paused or when nothing is left.
    std::int64_t dueUs() const;
    // Hands the game every event due by now.
    void run();
    // The viewer's keys: Space, Right, Left, Escape.
    void key(int vk);
    // The window's close box, or a signal: the replay ends.
    void close();

    bool paused() const { return paused_; }
    int speed() const { return speed_; }
    // Where the replay went another way than the recording ("line 12: tick Timer1: the timer is
    // off"); empty while it follows.
    const std::string& divergence() const { return divergence_; }
    // How many of the recording's lines were played, and the state then, in one line.
    std::string summary() const;

  private:
    std::int64_t scriptNow() const;
    void play(const ReplayScript::Event& e);
    bool input(const std::vector<std::string>& w);
    void rebase();
    void diverged(const std::string& where);

    tk::Application& app_;
    Program& program_;
    const ReplayScript& script_;
    std::size_t next_ = 0;
    int lastLine_ = 0;
    // Script time runs at speed_ from scriptAnchor_ at the clock's realAnchor_.
    std::int64_t realAnchor_, scriptAnchor_ = 0;
    int speed_ = 1;
    bool paused_ = false;
    bool ended_ = false;
    std::string divergence_;
};

}  // namespace lumcrest
