// The settings file: six operations on a section and a key. Every call reads or writes the file
// at once; there is no copy in memory beyond one handler's batch.
//
// The file is the player's: it is never lost. A file that exists but cannot be read (no
// permission, a folder or a pipe in its place) is never replaced: every write of the run is
// refused. Every change is one crash-safe replacement under a lock that other copies of the game
// respect; a symlinked file is replaced at its target, with its mode and owner kept. A lock file
// that cannot be used (a folder or a link in its place, no permission) stops the write: nothing
// is ever written unlocked.
#pragma once

#include <chrono>
#include <functional>
#include <optional>
#include <string>
#include <vector>

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
    // "Unable to write to PATH: REASON" (the lock is held by another copy of the game, the disk
    // is full, permission denied, the lock file is not a file, ...); bare "Unable to write to
    // PATH" when the file could not be read at all, which the player has been told already.
    void writeString(const std::string& section, const std::string& key, const std::string& value);
    void writeInteger(const std::string& section, const std::string& key, int value);
    void writeBool(const std::string& section, const std::string& key, bool value);

    // Why the file that exists cannot be read, in words for the player ("Cannot read PATH:
    // Permission denied. Nothing will be saved until it can be read."); empty while it can.
    // Once set it stays for the run, and every write is refused.
    const std::string& unreadable() const { return unreadable_; }

    // While a Reading lives, reads take the file's text as it was when the Reading began
    // (start-up reads about 120 keys; one read of the file serves them all). Writes still go to
    // the file at once and are seen by later reads. A Reading begun while another reading holds
    // changes nothing: the outer one's text serves both.
    class Reading {
      public:
        explicit Reading(Profile& p);
        ~Reading();
        Reading(const Reading&) = delete;
        Reading& operator=(const Reading&) = delete;

      private:
        Profile& profile_;
        bool owner_;
    };
    // The same for the whole start of the game, which spans several owners: from holdReading()
    // to releaseReading() one read of the file serves every read.
    void holdReading();
    void releaseReading();

    // Writes between beginBatch and commitBatch reach the file together, in one crash-safe
    // replacement; reads in between see them. The batch holds the lock from begin to commit, so
    // what it read and what it writes are one step for other copies of the game too. beginBatch
    // throws the refused-write error when nothing can be written.
    void beginBatch();
    void commitBatch();
    void abandonBatch();

    // A change the player made that could not be written: it is made again, to what the file
    // holds then, at the start of every later batch (any later write), until one reaches the
    // file. Changes are made in the order they were kept.
    void keepUntilWritten(std::function<void(Profile&)> change);
    bool hasUnwritten() const { return !unwritten_.empty(); }
    // Writes the changes kept until written, now; throws the refused-write error when it cannot.
    void writeUnwritten();

    // How long a write waits for another copy of the game to finish its own (5 s).
    void setLockWait(std::chrono::milliseconds wait) { lockWait_ = wait; }
    // For tests of a full disk or a failing device: while ERR is not 0, writing the new file's
    // contents fails with that errno.
    void simulateWriteError(int err) { simulatedWriteError_ = err; }

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
    [[noreturn]] void refuse(const std::string& reason) const;
    void lock();
    void unlock();
    void replace(const IniDocument& doc);

    std::string path_;
    mutable std::string unreadable_;
    std::optional<IniDocument> batch_;
    int lockFd_ = -1;
    std::optional<IniDocument> read_;  // the text a Reading took
    std::vector<std::function<void(Profile&)>> unwritten_;
    std::size_t unwrittenInBatch_ = 0;  // how many of them the batch in progress made
    std::chrono::milliseconds lockWait_ = std::chrono::seconds(5);
    int simulatedWriteError_ = 0;
};

}  // namespace lumcrest
