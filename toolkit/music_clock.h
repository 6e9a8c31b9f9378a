// A music track's place kept by the clock alone, for the players that do not report it (the
// headless backend's, which plays nothing, and the browser's, whose decoding the game's timing
// must not wait for): opened with the track's length, started and stopped at a time, played out
// once its length has run.
#pragma once

#include <algorithm>
#include <cstdint>

#include "toolkit/audio.h"

namespace tk {

class MusicClock {
  public:
    // A track of LENGTHUS, at its start, stopped.
    void open(std::int64_t lengthUs) {
        open_ = true;
        playing_ = false;
        lengthUs_ = lengthUs;
        positionUs_ = 0;
    }
    void close() {
        open_ = false;
        playing_ = false;
    }
    bool isOpen() const { return open_; }
    bool playing() const { return playing_; }
    // Where the track was when it last started or stopped.
    std::int64_t positionUs() const { return positionUs_; }

    // Plays on at NOW from where it stopped, from the start once it has played out; false when
    // it was playing already.
    bool play(std::int64_t now) {
        const MusicState s = state(now);
        if (s == MusicState::Playing) return false;
        if (s == MusicState::Ended) positionUs_ = 0;
        playing_ = true;
        startedAtUs_ = now;
        return true;
    }
    // Stops at NOW where it is; false when it was not playing.
    bool stop(std::int64_t now) {
        if (!playing_) return false;
        positionUs_ = std::min(lengthUs_, positionUs_ + (now - startedAtUs_));
        playing_ = false;
        return true;
    }
    // The track's state at NOW: a track whose length has run has ended and stops.
    MusicState state(std::int64_t now) {
        if (!open_) return MusicState::None;
        if (playing_) {
            if (positionUs_ + (now - startedAtUs_) >= lengthUs_) {
                playing_ = false;
                positionUs_ = lengthUs_;
                return MusicState::Ended;
            }
            return MusicState::Playing;
        }
        return positionUs_ >= lengthUs_ ? MusicState::Ended : MusicState::Stopped;
    }

  private:
    bool open_ = false;
    bool playing_ = false;
    std::int64_t lengthUs_ = 0;
    std::int64_t positionUs_ = 0;
    std::int64_t startedAtUs_ = 0;
};

}  // namespace tk
