#include "app/last_words.h"

#include <pthread.h>
#include <signal.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <exception>
#include <utility>

namespace lumcrest {

namespace {

std::function<void()>& saver() {
    static std::function<void()> save;
    return save;
}

volatile sig_atomic_t saving = 0;
pthread_t loopThread{};

// Once, on the loop's thread, never inside another save.
void saveOnce() {
    if (saving || !pthread_equal(pthread_self(), loopThread) || !saver()) return;
    saving = 1;
    try {
        saver()();
    } catch (...) {
        // The save said what it could; the program ends all the same.
    }
}

void endAfterSaving() {
    // Why, as far as it can be told, then the save, then the abort that was coming.
    if (std::exception_ptr failure = std::current_exception()) {
        try {
            std::rethrow_exception(failure);
        } catch (const std::exception& e) {
            std::fprintf(stderr, "lumcrest: the game failed: %s\n", e.what());
        } catch (...) {
            std::fputs("lumcrest: the game failed\n", stderr);
        }
    } else {
        std::fputs("lumcrest: the game failed\n", stderr);
    }
    saveOnce();
    saving = 1;  // the abort below saves nothing more
    std::abort();
}

void abortRaised(int sig, siginfo_t* info, void*) {
    // Only the program's own abort (abort() sends it to its own thread): one sent by another
    // program is left to do what it was sent for.
    const bool own = info && info->si_pid == ::getpid() &&
                     (info->si_code == SI_TKILL || info->si_code == SI_USER);
    if (own && !saving) {
        // The abort may have come from inside the memory allocator, whose lock a save would then
        // wait on for ever: the clock ends a save that does not finish.
        ::signal(SIGALRM, SIG_DFL);
        ::alarm(3);
        saveOnce();
    }
    ::signal(sig, SIG_DFL);
    ::raise(sig);
}

}  // namespace

void saveOnFatalPaths(std::function<void()> save) {
    saver() = std::move(save);
    loopThread = pthread_self();
    saving = 0;
    std::set_terminate(endAfterSaving);
    struct sigaction sa {};
    sa.sa_sigaction = abortRaised;
    sa.sa_flags = SA_SIGINFO | SA_RESETHAND | SA_NODEFER;
    sigemptyset(&sa.sa_mask);
    ::sigaction(SIGABRT, &sa, nullptr);
}

void stopSavingOnFatalPaths() {
    saving = 1;
    ::signal(SIGABRT, SIG_DFL);
}

}  // namespace lumcrest
