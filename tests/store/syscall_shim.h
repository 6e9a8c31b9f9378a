// A watch on the system calls the settings file's writer makes, and faults put in their way.
//
// The test executable that links syscall_shim.cpp defines write, fsync, close, rename, flock and
// unlink itself; each passes the call on to the C library, records it when it touches a file in
// the watched folder, and may make it fail as a failing disk or an interrupted process would.
#pragma once

#include <cstddef>
#include <string>
#include <vector>

namespace lumcrest::testing::shim {

// One call on a file of the watched folder. WHAT names the file: "ini" (the settings file), "new"
// (a temporary beside it), "lock" (its lock file), "dir" (the folder itself) or "other".
struct Call {
    std::string name;  // write, fsync, close, rename, flock, unlink
    std::string what;
    std::string to;       // rename: what the file is renamed to
    int result = 0;       // what the call returned
    bool locked = false;  // another descriptor could not take the lock just before the call
};

// Faults of the calls on the watched folder's settings file and its temporaries.
struct Faults {
    int fsyncError = 0;          // fsync fails with this errno
    int closeError = 0;          // closing a file written to fails with this errno (once closed)
    std::size_t writeChunk = 0;  // when not 0, a write writes at most this many bytes
    int interruptedWrites = 0;   // this many writes fail with EINTR before any goes through
    bool writesGiveNothing = false;  // every write returns 0, as on some full disks
};

// Records the calls on files in DIR (whose settings file is named FILE) until stop(), with the
// faults given.
void watch(const std::string& dir, const std::string& file, Faults faults = {});
std::vector<Call> stop();

// The calls as one line, "name what" each (rename also names its target), consecutive writes to
// one file counted once and unlinks of nothing left out.
std::string trace(const std::vector<Call>& calls);

// Whether the lock file LOCKPATH is held now (another descriptor cannot take it at once).
bool lockHeld(const std::string& lockPath);

}  // namespace lumcrest::testing::shim
