// Another process that holds the settings file's lock, as another copy of the game in the middle
// of its write would: from construction, once the lock is taken, to destruction.
#pragma once

#include <fcntl.h>
#include <signal.h>
#include <sys/file.h>
#include <sys/wait.h>
#include <unistd.h>

#include <stdexcept>
#include <string>

namespace lumcrest::testing {

class LockHolder {
  public:
    explicit LockHolder(const std::string& lockPath) {
        int ready[2];
        if (::pipe(ready) != 0) throw std::runtime_error("no pipe");
        child_ = ::fork();
        if (child_ == 0) {
            int fd = ::open(lockPath.c_str(), O_RDWR | O_CREAT, 0644);
            char c = 1;
            if (fd < 0 || ::flock(fd, LOCK_EX) != 0 || ::write(ready[1], &c, 1) != 1) ::_exit(1);
            ::pause();
            ::_exit(0);
        }
        ::close(ready[1]);
        char c = 0;
        const bool held = ::read(ready[0], &c, 1) == 1;
        ::close(ready[0]);
        if (!held) {
            ::waitpid(child_, nullptr, 0);
            throw std::runtime_error("the lock was not taken");
        }
    }
    ~LockHolder() {
        ::kill(child_, SIGKILL);
        ::waitpid(child_, nullptr, 0);
    }
    LockHolder(const LockHolder&) = delete;
    LockHolder& operator=(const LockHolder&) = delete;

  private:
    pid_t child_ = -1;
};

}  // namespace lumcrest::testing
