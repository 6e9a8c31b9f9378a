// The settings file: six operations on a section and a key. Every call reads or writes the file
// at once; besides one handler's batch, the game keeps only what it read or wrote last and the
// changes that could not be written yet.
//
// The file is the player's: it is never lost. A file that exists but cannot be read at the start
// (no permission, a folder or a pipe in its place) is never replaced: every write of the run is
// refused; so is a file whose folder other users may write to, or no home folder at all. A read
// that fails later in the run fails that write alone. Every change is one crash-safe replacement
// under a lock that other copies of the game respect; a symlinked file is replaced at its target,
// with its mode and owner kept. A lock file that cannot be used (a folder or a link in its place,
// no permission) stops the write: nothing is ever written unlocked. A change that could not be
// written is kept and goes into the file with the next write that can be made; a file that
// vanished during the run is written whole again from what the game holds.
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
    // is full, the file size limit, permission denied, the lock file is not a file, the file
    // cannot be read now, ...) and keeps the change for the next write; bare "Unable to write to
    // PATH" when the file could not be read at the start, which the player has been told already.
    void writeString(const std::string& section, const std::string& key, const std::string& value);
    void writeInteger(const std::string& section, const std::string& key, int value);
    void writeBool(const std::string& section, const std::string& key, bool value);

    // Why the file cannot be used this run, in words for the player ("Cannot read PATH:
    // Permission denied. Nothing will be saved until it can be read.", a folder that other users
    // may write to, no home folder: an empty PATH); empty while it can. Only the first read of
    // the run (the start) sets it; once set it stays for the run, and every write is refused.
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
    // throws the refused-write error only when nothing is written this run; a lock or a read
    // that fails makes the commit throw it, and the batch's writes are kept until written.
    void beginBatch();
    void commitBatch();
    void abandonBatch();

    // A change the player made that could not be written: it is made again, to what the file
    // holds then, at the start of every later batch (any later write), until one reaches the
    // file. Changes are made in the order they were kept. Plain writes that fail are kept so
    // by themselves.
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
    // The file as a document (an empty one when there is none; *MISSING says so); nothing when
    // it exists but cannot be read, with the reason in *WHY. The first load of the run marks
    // the file unreadable then.
    std::optional<IniDocument> load(std::string* why = nullptr, bool* missing = nullptr) const;
    // At the first access of the run: whether the file's place can be used at all.
    void checkPlace() const;
    std::string refusal(const std::string& reason) const;
    [[noreturn]] void refuse() const;
    [[noreturn]] void refuse(const std::string& reason) const;
    // The batch's own writes, kept until written: its commit failed.
    void keepBatchWrites();
    void lock();
    void unlock();
    void replace(const IniDocument& doc);

    struct Store {
        std::string section, key, value;
    };

    std::string path_;
    mutable std::string unreadable_;
    mutable bool started_ = false;  // the first load (the start) is done
    mutable bool placeChecked_ = false;
    mutable bool placeRefused_ = false;  // the file's place is not the player's: never touched
    std::optional<IniDocument> batch_;
    int lockFd_ = -1;
    std::optional<IniDocument> read_;  // the text a Reading took
    std::vector<std::function<void(Profile&)>> unwritten_;
    std::size_t unwrittenInBatch_ = 0;  // how many of them the batch in progress made
    std::vector<Store> batchWrites_;    // what the batch in progress wrote itself
    bool replaying_ = false;            // the batch is making the kept changes again
    std::string batchRefused_;          // why the batch in progress cannot be written
    // The file as the game last read or wrote it: written whole when the file has vanished.
    mutable std::optional<IniDocument> known_;
    std::chrono::milliseconds lockWait_ = std::chrono::seconds(5);
    int simulatedWriteError_ = 0;
};

// A write past the file size limit (ulimit -f) fails with its reason instead of ending the
// program with SIGXFSZ. The program entries call it first thing: the signal is the process's.
void keepRunningPastFileSizeLimit();

}  // namespace lumcrest
