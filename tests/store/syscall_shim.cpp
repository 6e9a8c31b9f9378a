// The calls of syscall_shim.h, standing in for the C library's in the test executable; each
// finds the library's own with dlsym(RTLD_NEXT) and passes the call on.
#include "tests/store/syscall_shim.h"

#include <dlfcn.h>
#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstdlib>

namespace lumcrest::testing::shim {
namespace {

struct State {
    bool on = false;
    std::string dir, file;
    Faults faults;
    int interruptedLeft = 0;
    int emptyWrites = 0;
    std::vector<Call> calls;
};

State& state() {
    static State s;
    return s;
}

template <typename F>
F real(const char* name) {
    void* f = ::dlsym(RTLD_NEXT, name);
    if (!f) {
        std::fprintf(stderr, "syscall shim: no %s in the C library\n", name);
        std::abort();
    }
    return reinterpret_cast<F>(f);
}

using IntFd = int (*)(int);
using Write = ssize_t (*)(int, const void*, size_t);
using Rename = int (*)(const char*, const char*);
using Flock = int (*)(int, int);
using Unlink = int (*)(const char*);

// What PATH is to the watched folder: "ini", "new", "lock", "dir", "other", or "" outside it.
std::string classify(const std::string& path) {
    const State& s = state();
    if (path == s.dir) return "dir";
    if (path.compare(0, s.dir.size() + 1, s.dir + "/") != 0) return "";
    const std::string name = path.substr(s.dir.size() + 1);
    if (name == s.file) return "ini";
    if (name == s.file + ".lock") return "lock";
    if (name.compare(0, s.file.size() + 5, s.file + ".new-") == 0) return "new";
    return "other";
}

std::string pathOf(int fd) {
    char buf[4096];
    const std::string link = "/proc/self/fd/" + std::to_string(fd);
    ssize_t n = ::readlink(link.c_str(), buf, sizeof buf - 1);
    return n > 0 ? std::string(buf, std::size_t(n)) : std::string();
}

// What descriptor FD names in the watched folder, "" when nothing is watched or it lies outside.
std::string watched(int fd) {
    return state().on ? classify(pathOf(fd)) : std::string();
}

bool openForWriting(int fd) {
    const int flags = ::fcntl(fd, F_GETFL);
    return flags >= 0 && (flags & O_ACCMODE) != O_RDONLY;
}

void record(std::string name, std::string what, int result, std::string to = {}) {
    State& s = state();
    const int saved = errno;
    Call c{std::move(name), std::move(what), std::move(to), result, false};
    c.locked = lockHeld(s.dir + "/" + s.file + ".lock");
    s.calls.push_back(std::move(c));
    errno = saved;
}

// The settings file or a temporary, written to: where the faults apply.
bool faulty(const std::string& what) {
    return what == "ini" || what == "new";
}

}  // namespace

void watch(const std::string& dir, const std::string& file, Faults faults) {
    State& s = state();
    s = State{};
    s.dir = dir;
    s.file = file;
    s.faults = faults;
    s.interruptedLeft = faults.interruptedWrites;
    s.on = true;
}

std::vector<Call> stop() {
    State& s = state();
    s.on = false;
    return std::move(s.calls);
}

std::string trace(const std::vector<Call>& calls) {
    std::string out;
    std::string last;
    for (const Call& c : calls) {
        if (c.name == "unlink" && c.result != 0) continue;  // nothing there: nothing changed
        std::string item = c.name + " " + c.what + (c.to.empty() ? "" : " " + c.to);
        if (item == last && c.name == "write") continue;
        last = item;
        out += (out.empty() ? "" : ", ") + item;
    }
    return out;
}

bool lockHeld(const std::string& lockPath) {
    static const Flock realFlock = real<Flock>("flock");
    static const IntFd realClose = real<IntFd>("close");
    const int fd = ::open(lockPath.c_str(), O_RDWR | O_CLOEXEC);
    if (fd < 0) return false;
    const bool held = realFlock(fd, LOCK_EX | LOCK_NB) != 0;
    realClose(fd);  // lets go of the probe's own lock, if it took one
    return held;
}

}  // namespace lumcrest::testing::shim

using namespace lumcrest::testing::shim;

extern "C" {

ssize_t write(int fd, const void* buf, size_t n) {
    static const Write realWrite = real<Write>("write");
    const std::string what = watched(fd);
    if (!faulty(what)) return realWrite(fd, buf, n);
    State& s = state();
    ssize_t r;
    if (s.interruptedLeft > 0) {
        --s.interruptedLeft;
        errno = EINTR;
        r = -1;
    } else if (s.faults.writesGiveNothing) {
        if (++s.emptyWrites > 1000) {
            std::fprintf(stderr, "syscall shim: a write that wrote nothing was tried 1000 times\n");
            std::abort();
        }
        r = 0;
    } else {
        const size_t chunk = s.faults.writeChunk;
        r = realWrite(fd, buf, chunk > 0 && n > chunk ? chunk : n);
    }
    record("write", what, int(r));
    return r;
}

int fsync(int fd) {
    static const IntFd realFsync = real<IntFd>("fsync");
    const std::string what = watched(fd);
    if (what.empty()) return realFsync(fd);
    int r;
    if (faulty(what) && state().faults.fsyncError != 0) {
        errno = state().faults.fsyncError;
        r = -1;
    } else {
        r = realFsync(fd);
    }
    record("fsync", what, r);
    return r;
}

int close(int fd) {
    static const IntFd realClose = real<IntFd>("close");
    const std::string what = watched(fd);
    if (what.empty()) return realClose(fd);
    // Closing what was only read is no part of the write.
    const bool written = openForWriting(fd);
    int r = realClose(fd);
    if (r == 0 && written && faulty(what) && state().faults.closeError != 0) {
        errno = state().faults.closeError;
        r = -1;
    }
    if (written || what == "dir") record("close", what, r);
    return r;
}

int rename(const char* from, const char* to) noexcept {
    static const Rename realRename = real<Rename>("rename");
    if (!state().on) return realRename(from, to);
    const std::string what = classify(from), target = classify(to);
    if (what.empty()) return realRename(from, to);
    // The lock is looked at before the rename: that is when it must still be held.
    const bool held = lockHeld(state().dir + "/" + state().file + ".lock");
    const int r = realRename(from, to);
    record("rename", what, r, target);
    state().calls.back().locked = held;
    return r;
}

int flock(int fd, int op) noexcept {
    static const Flock realFlock = real<Flock>("flock");
    const std::string what = watched(fd);
    const int r = realFlock(fd, op);
    if (!what.empty()) record("flock", what, r);
    return r;
}

int unlink(const char* path) noexcept {
    static const Unlink realUnlink = real<Unlink>("unlink");
    const std::string what = state().on ? classify(path) : std::string();
    const int r = realUnlink(path);
    if (!what.empty()) record("unlink", what, r);
    return r;
}

}  // extern "C"
