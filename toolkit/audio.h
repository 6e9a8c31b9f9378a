// The sound service a backend offers: one voice for effects, a few ringing voices beside it for
// bursts and short cues, and one music player.
#pragma once

#include <string>
#include <vector>

namespace tk {

enum class MusicState { None, Playing, Ended, Stopped };

class Audio {
  public:
    virtual ~Audio() = default;
    // Starts the WAV file PATH at once, cutting off the effect still playing. A file that cannot be
    // played sounds the system beep instead; nothing is raised.
    virtual void playEffect(const std::string& path) = 0;
    // Reads the effects PATHS now, so that playing them later opens no file. Files that cannot be
    // read are left to playEffect, which beeps for them as before.
    virtual void preloadEffects(const std::vector<std::string>& paths) { (void)paths; }
    // How many sounds ring at once on the voices beside the effect's: a burst or a cue that
    // finds them all busy cuts the oldest.
    static constexpr int kRingingVoices = 3;
    // Starts the effect PATH on a ringing voice, so the bursts before it ring on into it; the
    // effect voice and what plays there are left alone. Beeps as playEffect does when PATH
    // cannot be played.
    virtual void ringEffect(const std::string& path) { playEffect(path); }
    // Starts the short cue PATH on a ringing voice, beside the effects; it never cuts an effect
    // and a cue that cannot be played is silent (no beep).
    virtual void playCue(const std::string& path) { (void)path; }
    // Lowers the music by DB decibels (a positive number) at once, for MS milliseconds, then
    // brings it back smoothly; a new duck replaces one still running.
    virtual void duckMusic(double db, int ms) { (void)db, (void)ms; }
    // Closes the open track (silencing it) and opens PATH. Throws tk::Error with the media
    // layer's own message when it cannot be opened; no track is open afterwards.
    virtual void openMusic(const std::string& path) = 0;
    // Plays the open track from its position; a track at its end is rewound first.
    // Throws tk::Error("No MCI device open") when no track is open.
    virtual void playMusic() = 0;
    // Stops the track where it is; throws tk::Error("No MCI device open") when none is open.
    virtual void stopMusic() = 0;
    virtual MusicState musicState() = 0;
    // The open track's path; empty when none.
    virtual std::string musicFile() const = 0;
    // How loud effects and music play, in steps of 0 (silent) to kMaxVolume (full, the level
    // before any was set); a level outside that range is taken as its nearest end. A change
    // reaches what is playing at once.
    static constexpr int kMaxVolume = 10;
    virtual void setEffectVolume(int level) = 0;
    virtual void setMusicVolume(int level) = 0;
};

}  // namespace tk
