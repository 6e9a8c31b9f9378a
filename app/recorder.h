// Recording a session of real play as a script of the driver that replays it exactly: the seed,
// the settings file the game started from, every input in order, and every timer tick at the
// moment the loop delivered it.
#pragma once

#include <cstdint>
#include <cstdio>
#include <string>

#include "toolkit/application.h"

namespace lumcrest {

class SessionRecorder : public tk::InputObserver {
  public:
    // Writes to OUT (not owned; every line is flushed at once). APP's clock at ORIGINUS is the
    // replay's time 0, the moment the windows were constructed.
    SessionRecorder(tk::Application& app, std::FILE* out, std::int64_t originUs);

    // The head of the script, before start: what made it, the settings file's contents as the
    // game found them (SETTINGS, or none when MISSING), the seed, and `start`.
    void writeHead(const std::string& version, bool settingsExisted, const std::string& settings,
                   std::uint32_t seed);

    void keyDown(tk::Window& w, int vk) override;
    void text(tk::Window& w, const std::string& utf8) override;
    void mouseMove(tk::Window& w, int x, int y) override;
    void mouseDown(tk::Window& w, tk::MouseButton b, int x, int y) override;
    void mouseUp(tk::Window& w, tk::MouseButton b, int x, int y) override;
    void closeRequest(tk::Window& w) override;
    void padButton(tk::PadButton button, bool down) override;
    void tick(tk::Timer& t) override;

    // True while every line so far reached the file.
    bool healthy() const { return healthy_; }

  private:
    // Writes `at` when the clock moved since the last line, then LINE.
    void event(const std::string& line);
    void write(const std::string& line);
    // Only input for the window that takes input reaches the game; the driver sends there too.
    bool routed(tk::Window& w) const { return app_.activeWindow() == &w; }

    tk::Application& app_;
    std::FILE* out_;
    std::int64_t originUs_;
    std::int64_t lastUs_ = 0;
    bool healthy_ = true;
};

// The settings file's bytes as the argument of the driver's `ini` command: bytes below 32, 127
// and '%' become %XX, everything else stays as it is.
std::string escapeIniChunk(const std::string& bytes);
// The inverse; nothing on a malformed escape.
bool unescapeIniChunk(const std::string& text, std::string& bytes);

}  // namespace lumcrest
