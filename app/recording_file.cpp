#include "app/recording_file.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>

namespace lumcrest {

namespace {

std::string refusal(const std::string& path, const std::string& reason) {
    return "cannot write " + path + ": " + reason;
}

// Opens PATH for writing without emptying it and without waiting on a FIFO: a new file when
// there is none (CREATED set), else the one that is there.
int openUntruncated(const std::string& path, bool& created) {
    const int flags = O_WRONLY | O_NONBLOCK | O_NOCTTY | O_CLOEXEC;
    for (int attempt = 0; attempt < 3; ++attempt) {
        int fd = ::open(path.c_str(), flags | O_CREAT | O_EXCL, 0666);
        if (fd >= 0 || errno != EEXIST) {
            created = fd >= 0;
            return fd;
        }
        fd = ::open(path.c_str(), flags);
        if (fd >= 0 || errno != ENOENT) {
            created = false;
            return fd;
        }
        // Gone between the two attempts, or a link to nothing: try again, then give up.
    }
    return -1;
}

// Why the open file FD at PATH must not take a recording; empty when it may.
std::string objection(int fd, const std::string& path, const std::string& settingsPath) {
    struct stat file, settings;
    if (::fstat(fd, &file) != 0) return refusal(path, std::strerror(errno));
    if (!S_ISREG(file.st_mode)) return refusal(path, "not a regular file");
    if (::stat(settingsPath.c_str(), &settings) == 0 && settings.st_dev == file.st_dev &&
        settings.st_ino == file.st_ino)
        return refusal(path, "it is the settings file " + settingsPath);
    return {};
}

}  // namespace

std::FILE* openRecordingFile(const std::string& path, const std::string& settingsPath,
                             std::string& why) {
    // A quick look first, so that nothing but a regular file is even opened (opening a device
    // can do something of its own); the open file is checked again below, which settles it.
    struct stat before;
    if (::stat(path.c_str(), &before) == 0 && !S_ISREG(before.st_mode)) {
        why = refusal(path, S_ISFIFO(before.st_mode)  ? "it is a FIFO"
                            : S_ISDIR(before.st_mode) ? "it is a folder"
                                                      : "not a regular file");
        return nullptr;
    }
    bool created = false;
    int fd = openUntruncated(path, created);
    if (fd < 0) {
        int error = errno;
        struct stat link;
        bool dangling = error == ENOENT && ::lstat(path.c_str(), &link) == 0;
        why = refusal(path, error == ENXIO ? "it is a FIFO"
                            : dangling     ? "a link to nothing"
                                           : std::strerror(error));
        return nullptr;
    }
    why = objection(fd, path, settingsPath);
    if (why.empty() &&
        (::ftruncate(fd, 0) != 0 || ::fcntl(fd, F_SETFL, ::fcntl(fd, F_GETFL) & ~O_NONBLOCK) != 0))
        why = refusal(path, std::strerror(errno));
    std::FILE* file = why.empty() ? ::fdopen(fd, "w") : nullptr;
    if (file) return file;
    if (why.empty()) why = refusal(path, std::strerror(errno));
    ::close(fd);
    // A settings file that did not exist yet is this new, empty file: it goes again.
    if (created) ::unlink(path.c_str());
    return nullptr;
}

}  // namespace lumcrest
