// The settings file: six operations on a section and a key. Every call reads or writes the file
// at once; there is no copy in memory beyond one handler's batch.
//
// The file is the player's: it is never lost. A file that exists but cannot be read (no
// permission, a folder or a pipe in its place) is never replaced: every write of the run is
// refused. Every change is one crash-safe replacement under a lock that other copies of the game
// respect; a symlinked file is replaced at its target, with its mode and owner kept.
#pragma once

#include <optional>
#include <string>

#include "store/ini_text.h"

namespace lumcrest {

class Profile {
  public:
    explicit Profile(std::string path) : path_(std::move(path)) {}
    Profile(const Profile&) = delete;
    Profile& operator=(const Profile&) = delete;
    Profile(Profile&& other) noexcept { *this = std::move(other); }
    Profile& operator=(Profile&& other) noexcept;
    ~Profile();

    const std::string& path() const { return path_; }

    // Reads never fail: a missing file, section or key, or an unreadable value, gives DEFAULT.
    std::string readString(const std::string& section, const std::string& key,
                           const std::string& def) const;
    int readInteger(const std::string& section, const std::string& key, int def) const;
    bool readBool(const std::string& section, const std::string& key, bool def) const;

    // Writes create the file, section and key as needed. A refused write throws tk::Error
    // "Unable to write to PATH".
    void writeString(const std::string& section, const std::string& key, const std::string& value);
    void writeInteger(const std::string& section, const std::string& key, int value);
    void writeBool(const std::string& section, const std::string& key, bool value);

    // Why the file that exists cannot be read, in words for the player ("Cannot read PATH:
    // Permission denied. Nothing will be saved until it can be read."); empty while it can.
    // Once set it stays for the run, and every write is refused.
    const std::string& unreadable() const { return unreadable_; }

    // While a Reading lives, reads take the file's text as it was when the Reading began
    // (start-up reads about 120 keys; one read of the file serves them all). Writes still go to
    // the file at once and are seen by later reads.
    class Reading {
      public:
        explicit Reading(Profile& p);
        ~Reading();
        Reading(const Reading&) = delete;
        Reading& operator=(const Reading&) = delete;

      private:
        Profile& profile_;
    };

    // Writes between beginBatch and commitBatch reach the file together, in one crash-safe
    // replacement; reads in between see them. The batch holds the lock from begin to commit, so
    // what it read and what it writes are one step for other copies of the game too. beginBatch
    // throws the refused-write error when nothing can be written.
    void beginBatch();
    void commitBatch();
    void abandonBatch();

    // A batch for one handler: commit() writes it; leaving without commit() drops it.
    class Batch {
      public:
        explicit Batch(Profile& p) : profile_(p) { profile_.beginBatch(); }
        ~Batch() {
            if (!done_) profile_.abandonBatch();
        }
        Batch(const Batch&) = delete;
        Batch& operator=(const Batch&) = delete;
        void commit() {
            done_ = true;
            profile_.commitBatch();
        }

      private:
        Profile& profile_;
        bool done_ = false;
    };

  private:
    // The file as a document; marks the file unreadable when it exists but cannot be read.
    std::optional<IniDocument> load() const;
    [[noreturn]] void refuse() const;
    void lock();
    void unlock();
    void replace(const IniDocument& doc);

    std::string path_;
    mutable std::string unreadable_;
    std::optional<IniDocument> batch_;
    int lockFd_ = -1;
    std::optional<IniDocument> read_;  // the text a Reading took
};

}  // namespace lumcrest
