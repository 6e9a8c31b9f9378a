#include "app/recorder.h"

#include <algorithm>

#include "toolkit/control.h"
#include "toolkit/timer.h"
#include "toolkit/window.h"

namespace lumcrest {

SessionRecorder::SessionRecorder(tk::Application& app, std::FILE* out, std::int64_t originUs)
    : app_(app), out_(out), originUs_(originUs) {}

void SessionRecorder::write(const std::string& line) {
    if (!out_) return;
    // Flushed line by line: a crash loses at most the event that caused it.
    if (std::fputs(line.c_str(), out_) < 0 || std::fputc('\n', out_) < 0 || std::fflush(out_) != 0)
        healthy_ = false;
}

void SessionRecorder::event(const std::string& line) {
    std::int64_t now = app_.nowUs() - originUs_;
    if (now < lastUs_) now = lastUs_;  // a monotonic clock never goes back; be sure of it
    if (now != lastUs_) {
        write("at " + std::to_string(now));
        lastUs_ = now;
    }
    write(line);
}

void SessionRecorder::writeHead(const std::string& version, bool settingsExisted,
                                const std::string& settings, std::uint32_t seed) {
    write("# Lumcrest " + version + ": a recorded session.");
    write("# Replay it with: lumcrest-drive --home EMPTY-FOLDER < THIS-FILE");
    if (settingsExisted) {
        write("# The settings file as the game found it:");
        // One command per line of the file, each with its own line end, so the bytes come back
        // exactly (an empty file is one empty chunk). A long line goes in pieces: the driver
        // takes no line over 1 MiB, and a piece escaped is at most three times as long.
        constexpr std::size_t kPiece = 64 * 1024;
        std::size_t i = 0;
        do {
            std::size_t nl = settings.find('\n', i);
            std::size_t end = nl == std::string::npos ? settings.size() : nl + 1;
            end = std::min(end, i + kPiece);
            write("ini " + escapeIniChunk(settings.substr(i, end - i)));
            i = end;
        } while (i < settings.size());
    }
    write("seed " + std::to_string(seed));
    write("start");
}

void SessionRecorder::keyDown(tk::Window& w, int vk) {
    // The driver's key is a press and its release. The game acts on a release only to end a
    // menu button's press by Enter or Space, which the replay then gives at once; Shift is not
    // recorded (Shift+Tab replays as Tab).
    if (routed(w) && vk > 0 && vk <= 255) event("key " + std::to_string(vk));
}

void SessionRecorder::text(tk::Window& w, const std::string& utf8) {
    // The rest of a line is the text: a line break cannot travel in it (typing never gives one).
    if (!routed(w) || utf8.empty() || utf8.find_first_of("\r\n") != std::string::npos) return;
    event("text " + utf8);
}

void SessionRecorder::mouseMove(tk::Window& w, int x, int y) {
    if (routed(w)) event("move " + std::to_string(x) + " " + std::to_string(y));
}

namespace {

const char* buttonWord(tk::MouseButton b, bool down) {
    switch (b) {
        case tk::MouseButton::Left: return down ? "down" : "up";
        case tk::MouseButton::Right: return down ? "rdown" : "rup";
        case tk::MouseButton::Middle: return down ? "mdown" : "mup";
    }
    return down ? "down" : "up";
}

}  // namespace

void SessionRecorder::mouseDown(tk::Window& w, tk::MouseButton b, int x, int y) {
    if (routed(w))
        event(std::string(buttonWord(b, true)) + " " + std::to_string(x) + " " + std::to_string(y));
}

void SessionRecorder::mouseUp(tk::Window& w, tk::MouseButton b, int x, int y) {
    if (routed(w))
        event(std::string(buttonWord(b, false)) + " " + std::to_string(x) + " " +
              std::to_string(y));
}

void SessionRecorder::closeRequest(tk::Window& w) {
    if (&w == app_.mainWindow())
        event("close");
    else if (w.isOpen())
        event("show " + w.name() + " 0");  // a box closed by its close box
}

void SessionRecorder::padButton(tk::PadButton button, bool down) {
    // Halves, as they came: a held button repeats by the time between them.
    event(std::string("pad ") + tk::padButtonName(button) + (down ? " down" : " up"));
}

void SessionRecorder::tick(tk::Timer& t) {
    event("tick " + t.name());
}

std::string escapeIniChunk(const std::string& bytes) {
    static const char kHex[] = "0123456789ABCDEF";
    std::string out;
    for (unsigned char c : bytes) {
        if (c < 32 || c == 127 || c == '%') {
            out += '%';
            out += kHex[c >> 4];
            out += kHex[c & 15];
        } else {
            out += char(c);
        }
    }
    return out;
}

bool unescapeIniChunk(const std::string& text, std::string& bytes) {
    auto digit = [](char c) -> int {
        if (c >= '0' && c <= '9') return c - '0';
        if (c >= 'A' && c <= 'F') return c - 'A' + 10;
        if (c >= 'a' && c <= 'f') return c - 'a' + 10;
        return -1;
    };
    std::string out;
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text[i] != '%') {
            out += text[i];
            continue;
        }
        if (i + 2 >= text.size()) return false;
        int hi = digit(text[i + 1]), lo = digit(text[i + 2]);
        if (hi < 0 || lo < 0) return false;
        out += char(hi * 16 + lo);
        i += 2;
    }
    bytes = std::move(out);
    return true;
}

}  // namespace lumcrest
