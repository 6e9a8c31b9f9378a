#include "store/profile.h"

#include <dirent.h>
#include <fcntl.h>
#include <signal.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <chrono>
#include <cstring>
#include <filesystem>
#include <thread>
#include <utility>

#include "store/settings_place.h"
#include "toolkit/error.h"
#include "toolkit/i18n.h"

namespace lumcrest {

namespace fs = std::filesystem;

namespace {

constexpr std::size_t kMaxString = 2047;

enum class FileState { Read, Missing, Unreadable };

struct FileBytes {
    FileState state = FileState::Missing;
    std::string bytes;
    std::string reason;
};

// Reads the whole file. A pipe, socket or device in its place is refused at once, without
// waiting for a writer that never comes.
FileBytes readFile(const std::string& path) {
    FileBytes out;
    int fd = ::open(path.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC | O_NOCTTY);
    if (fd < 0) {
        if (errno == ENOENT || errno == ENOTDIR) return out;
        out.state = FileState::Unreadable;
        out.reason = std::strerror(errno);
        return out;
    }
    struct stat st {};
    if (::fstat(fd, &st) != 0 || !S_ISREG(st.st_mode)) {
        out.state = FileState::Unreadable;
        out.reason =
            S_ISDIR(st.st_mode) ? tk::tr("it is a folder") : tk::tr("it is not a regular file");
        ::close(fd);
        return out;
    }
    out.bytes.reserve(std::size_t(st.st_size));
    char buf[1 << 16];
    for (;;) {
        ssize_t n = ::read(fd, buf, sizeof buf);
        if (n < 0 && errno == EINTR) continue;
        if (n < 0) {
            out.state = FileState::Unreadable;
            out.reason = std::strerror(errno);
            out.bytes.clear();
            ::close(fd);
            return out;
        }
        if (n == 0) break;
        out.bytes.append(buf, std::size_t(n));
    }
    ::close(fd);
    out.state = FileState::Read;
    return out;
}

// The file a path names, through any chain of symbolic links (a link to a missing file names the
// file it would create).
fs::path resolveLinks(const fs::path& path) {
    fs::path p = path;
    for (int hop = 0; hop < 40; ++hop) {
        struct stat st {};
        if (::lstat(p.c_str(), &st) != 0 || !S_ISLNK(st.st_mode)) return p;
        std::error_code ec;
        fs::path link = fs::read_symlink(p, ec);
        if (ec) return p;
        p = link.is_absolute() ? link : p.parent_path() / link;
    }
    return p;
}

bool writeAll(int fd, const std::string& text) {
    const char* p = text.data();
    std::size_t left = text.size();
    while (left > 0) {
        ssize_t n = ::write(fd, p, left);
        if (n < 0 && errno == EINTR) continue;
        if (n == 0) errno = ENOSPC;
        if (n <= 0) return false;
        p += n;
        left -= std::size_t(n);
    }
    return true;
}

// Why a write failed with ERR, in words for the player.
std::string reasonFor(int err) {
    if (err == EACCES || err == EPERM) return tk::tr("permission denied");
    if (err == ENOSPC || err == EDQUOT) return tk::tr("the disk is full");
    if (err == EFBIG) return tk::tr("the file would pass the size limit set for the game");
    return std::strerror(err);
}

// Temporary files of the game's own pattern beside TARGET whose writer is gone.
void removeStaleTemporaries(const fs::path& target) {
    fs::path dir = target.has_parent_path() ? target.parent_path() : fs::path(".");
    std::string prefix = target.filename().string() + ".new-";
    DIR* d = ::opendir(dir.c_str());
    if (!d) return;
    while (dirent* e = ::readdir(d)) {
        std::string name = e->d_name;
        if (name.compare(0, prefix.size(), prefix) != 0 || name.size() == prefix.size()) continue;
        std::string digits = name.substr(prefix.size());
        if (digits.size() > 9 || digits.find_first_not_of("0123456789") != std::string::npos)
            continue;
        pid_t pid = pid_t(std::stol(digits));
        if (pid == ::getpid()) continue;
        if (::kill(pid, 0) == 0 || errno != ESRCH) continue;  // its writer may still be at work
        ::unlink((dir / name).c_str());
    }
    ::closedir(d);
}

// Writes TEXT to a new file beside TARGET, flushes it to disk and renames it over TARGET, so
// that a crash at any moment leaves either the old file or the new one whole. The new file keeps
// the old one's mode and, where the process may set it, its owner. Returns why it failed, or
// nothing; FAULT, when not 0, is the errno that writing the contents fails with.
std::optional<std::string> replaceFile(const fs::path& target, const std::string& text, int fault) {
    struct stat old {};
    bool exists = ::stat(target.c_str(), &old) == 0;
    if (exists) {
        if (!S_ISREG(old.st_mode)) return tk::tr("it is not a regular file");
        // A file the user may not write is not replaced behind their back.
        if (::faccessat(AT_FDCWD, target.c_str(), W_OK, AT_EACCESS) != 0) return reasonFor(errno);
    }
    std::string temp = target.string() + ".new-" + std::to_string(::getpid());
    ::unlink(temp.c_str());
    int fd = ::open(temp.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0644);
    if (fd < 0) return reasonFor(errno);
    bool ok = true;
    if (exists) {
        if (::fchown(fd, old.st_uid, old.st_gid) != 0) {
            // Not ours to give away: the file stays the user's, as a plain write would leave it.
        }
        ok = ::fchmod(fd, old.st_mode & 07777) == 0;
    }
    if (ok && fault != 0) {
        errno = fault;
        ok = false;
    }
    ok = ok && writeAll(fd, text);
    ok = ok && ::fsync(fd) == 0;
    int err = errno;
    if (::close(fd) != 0 && ok) {
        err = errno;
        ok = false;
    }
    if (ok && ::rename(temp.c_str(), target.c_str()) != 0) {
        err = errno;
        ok = false;
    }
    if (!ok) {
        ::unlink(temp.c_str());
        return reasonFor(err);
    }
    // Make the rename itself durable.
    fs::path dir = target.has_parent_path() ? target.parent_path() : fs::path(".");
    int dfd = ::open(dir.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (dfd >= 0) {
        ::fsync(dfd);
        ::close(dfd);
    }
    removeStaleTemporaries(target);
    return std::nullopt;
}

}  // namespace

Profile& Profile::operator=(Profile&& other) noexcept {
    if (this == &other) return *this;
    unlock();
    path_ = std::move(other.path_);
    unreadable_ = std::move(other.unreadable_);
    started_ = other.started_;
    placeChecked_ = other.placeChecked_;
    placeRefused_ = other.placeRefused_;
    batch_ = std::move(other.batch_);
    batchWrites_ = std::move(other.batchWrites_);
    replaying_ = other.replaying_;
    batchRefused_ = std::move(other.batchRefused_);
    known_ = std::move(other.known_);
    read_ = std::move(other.read_);
    unwritten_ = std::move(other.unwritten_);
    unwrittenInBatch_ = other.unwrittenInBatch_;
    lockWait_ = other.lockWait_;
    simulatedWriteError_ = other.simulatedWriteError_;
    lockFd_ = other.lockFd_;
    other.lockFd_ = -1;
    other.batch_.reset();
    other.read_.reset();
    other.unwritten_.clear();
    other.batchWrites_.clear();
    other.known_.reset();
    return *this;
}

Profile::~Profile() {
    unlock();
}

void Profile::checkPlace() const {
    if (placeChecked_) return;
    placeChecked_ = true;
    if (path_.empty())
        unreadable_ = tk::tr(
            "There is no home folder to keep the settings in (HOME is not set, and the user has "
            "none in the system's list). Nothing will be saved.");
#if !defined(__EMSCRIPTEN__)  // the browser's files are the page's alone
    else if (std::optional<std::string> why = sharedPlaceObjection(path_))
        unreadable_ =
            tk::tr("The settings are not kept in %s. Nothing will be saved.", path_ + ": " + *why);
#endif
    placeRefused_ = !unreadable_.empty();
}

std::optional<IniDocument> Profile::load(std::string* why, bool* missing) const {
    checkPlace();
    // A place that is not the player's is not even read: what stands there may be anyone's.
    if (placeRefused_) return std::nullopt;
    const bool start = !started_;
    started_ = true;
    FileBytes f = readFile(path_);
    if (missing) *missing = f.state == FileState::Missing;
    if (f.state == FileState::Unreadable) {
        // Only the start decides that nothing is saved this run; later, that write alone fails.
        if (start)
            unreadable_ = tk::tr("Cannot read %s. Nothing will be saved until it can be read.",
                                 path_ + ": " + f.reason);
        if (why) *why = f.reason;
        return std::nullopt;
    }
    IniDocument doc(decodeIniBytes(std::move(f.bytes)));
    if (start) known_ = doc;
    return doc;
}

std::string Profile::refusal(const std::string& reason) const {
    return tk::tr("Unable to write to %s", path_) + ": " + reason;
}

void Profile::refuse() const {
    throw tk::Error(tk::tr("Unable to write to %s", path_));
}

void Profile::refuse(const std::string& reason) const {
    throw tk::Error(refusal(reason));
}

void Profile::lock() {
    if (lockFd_ >= 0) return;
    fs::path target = resolveLinks(path_);
    std::error_code ec;
    if (target.has_parent_path()) fs::create_directories(target.parent_path(), ec);
    const std::string lockPath = target.string() + ".lock";
    // Never through a link, and never waiting on a pipe: the lock is a plain file or nothing.
    int fd = ::open(lockPath.c_str(), O_RDWR | O_CREAT | O_CLOEXEC | O_NOFOLLOW | O_NONBLOCK, 0644);
    auto notAFile = [&] { return tk::tr("the lock file %s is not a regular file", lockPath); };
    if (fd < 0) {
        const int err = errno;
        if (err == EISDIR || err == ELOOP) refuse(notAFile());
        refuse(tk::tr("the lock file %s cannot be opened", lockPath) + ": " + reasonFor(err));
    }
    struct stat st {};
    if (::fstat(fd, &st) != 0 || !S_ISREG(st.st_mode)) {
        ::close(fd);
        refuse(notAFile());
    }
    auto until = std::chrono::steady_clock::now() + lockWait_;
    while (::flock(fd, LOCK_EX | LOCK_NB) != 0) {
        const int err = errno;
        if (err == EWOULDBLOCK && std::chrono::steady_clock::now() > until) {
            ::close(fd);
            refuse(tk::tr("the settings file is locked by another copy of the game"));
        }
        if (err != EWOULDBLOCK && err != EINTR) {
            ::close(fd);
            refuse(reasonFor(err));
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(5));
    }
    lockFd_ = fd;
}

void Profile::unlock() {
    if (lockFd_ < 0) return;
    ::close(lockFd_);  // releases the lock
    lockFd_ = -1;
}

void Profile::replace(const IniDocument& doc) {
    if (auto why = replaceFile(resolveLinks(path_), doc.text(), simulatedWriteError_)) refuse(*why);
}

Profile::Reading::Reading(Profile& p) : profile_(p), owner_(!p.read_) {
    if (owner_) profile_.holdReading();
}

Profile::Reading::~Reading() {
    if (owner_) profile_.releaseReading();
}

void Profile::holdReading() {
    if (read_) return;
    read_ = load();
    if (!read_) read_.emplace();
}

void Profile::releaseReading() {
    read_.reset();
}

std::string Profile::readString(const std::string& section, const std::string& key,
                                const std::string& def) const {
    std::optional<std::string> v;
    if (batch_)
        v = batch_->lookUp(section, key);
    else if (read_)
        v = read_->lookUp(section, key);
    else if (auto doc = load())
        v = doc->lookUp(section, key);
    if (!v) return def;
    if (v->size() > kMaxString) v->resize(kMaxString);
    return *v;
}

int Profile::readInteger(const std::string& section, const std::string& key, int def) const {
    // An integer never needs more than the string's limit; a longer value is no number.
    std::string v = readString(section, key, std::string());
    if (v.empty()) return def;
    return parseIniInteger(v).value_or(def);
}

bool Profile::readBool(const std::string& section, const std::string& key, bool def) const {
    return readInteger(section, key, def ? 1 : 0) != 0;
}

void Profile::writeString(const std::string& section, const std::string& key,
                          const std::string& value) {
    if (batch_) {
        batch_->store(section, key, value);
        if (!replaying_) batchWrites_.push_back(Store{section, key, value});
        return;
    }
    beginBatch();
    writeString(section, key, value);
    commitBatch();
}

void Profile::writeInteger(const std::string& section, const std::string& key, int value) {
    writeString(section, key, std::to_string(value));
}

void Profile::writeBool(const std::string& section, const std::string& key, bool value) {
    writeString(section, key, value ? "1" : "0");
}

void Profile::beginBatch() {
    checkPlace();
    if (!unreadable_.empty()) refuse();
    batchRefused_.clear();
    batchWrites_.clear();
    std::optional<IniDocument> doc;
    try {
        lock();
        std::string why;
        bool missing = false;
        doc = load(&why, &missing);
        if (!doc) {
            // Rebuilding the file from nothing would lose everything the player has in it.
            unlock();
            batchRefused_ = refusal(why);
        } else if (missing && known_) {
            // Gone during the run (the file or its folder): written whole again from what the
            // game holds, never as a file of the last change alone.
            doc = known_;
        }
    } catch (const tk::Error& e) {
        batchRefused_ = e.what();
    }
    // A batch that cannot be written still collects its writes, on what the game knows, so
    // that they are kept until written.
    if (!doc) doc = known_ ? *known_ : IniDocument();
    batch_ = std::move(doc);
    // What could not be written before goes first, in its order, to what the file holds now.
    unwrittenInBatch_ = unwritten_.size();
    replaying_ = true;
    for (std::size_t i = 0; i < unwrittenInBatch_; ++i) unwritten_[i](*this);
    replaying_ = false;
}

void Profile::keepBatchWrites() {
    if (!batchWrites_.empty())
        unwritten_.push_back([writes = std::move(batchWrites_)](Profile& p) {
            for (const Store& w : writes) p.writeString(w.section, w.key, w.value);
        });
    batchWrites_.clear();
    unwrittenInBatch_ = 0;
}

void Profile::commitBatch() {
    if (!batch_) return;
    IniDocument doc = std::move(*batch_);
    batch_.reset();
    if (!batchRefused_.empty()) {
        keepBatchWrites();
        throw tk::Error(std::exchange(batchRefused_, std::string()));
    }
    try {
        replace(doc);
    } catch (...) {
        unlock();
        keepBatchWrites();
        throw;
    }
    unlock();
    unwritten_.erase(unwritten_.begin(), unwritten_.begin() + std::ptrdiff_t(unwrittenInBatch_));
    unwrittenInBatch_ = 0;
    batchWrites_.clear();
    if (read_) read_ = doc;
    known_ = std::move(doc);
}

void Profile::abandonBatch() {
    batch_.reset();
    unwrittenInBatch_ = 0;
    batchWrites_.clear();
    batchRefused_.clear();
    unlock();
}

void Profile::keepUntilWritten(std::function<void(Profile&)> change) {
    unwritten_.push_back(std::move(change));
}

void Profile::writeUnwritten() {
    if (unwritten_.empty() || batch_) return;
    beginBatch();
    commitBatch();
}

void keepRunningPastFileSizeLimit() {
    ::signal(SIGXFSZ, SIG_IGN);
}

}  // namespace lumcrest
