// lumcrest-forge OUTDIR [JOB...]: makes every picture, sound and tune of Lumcrest,
// or only the named jobs ("gems", "music", ...) while an artist works on them.

#include <atomic>
#include <chrono>
#include <cstdio>
#include <exception>
#include <filesystem>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

#include "forge.h"

namespace {

struct Job {
    const char* name;
    void (*run)(const forge::Output&);
};

// Longest first, so the music overlaps everything else.
constexpr Job kJobs[] = {
    {"music", forge::forgeGameMusic},         {"menu music", forge::forgeMenuMusic},
    {"backgrounds", forge::forgeBackgrounds}, {"gems", forge::forgeGems},
    {"pictures", forge::forgePictures},       {"help page", forge::forgeHelpPage},
    {"buttons", forge::forgeButtons},         {"effects", forge::forgeEffects},
    {"bursts", forge::forgeBursts},           {"jar", forge::forgeJar},
    {"web page", forge::forgeWebPage},     {"icons", forge::forgeIcons},
};

}  // namespace

int main(int argc, char** argv) {
    if (argc < 2) {
        std::fprintf(stderr, "usage: %s OUTDIR [JOB...]\n", argv[0]);
        return 2;
    }
    std::vector<Job> jobs;
    for (const Job& job : kJobs) {
        bool wanted = argc == 2;
        for (int a = 2; a < argc; ++a) wanted = wanted || std::string(argv[a]) == job.name;
        if (wanted) jobs.push_back(job);
    }
    if (jobs.empty()) {
        std::fprintf(stderr, "lumcrest-forge: no such job\n");
        return 2;
    }
    const std::filesystem::path root(argv[1]);
    forge::Output out{(root / "data").string(), (root / "embedded").string(),
                      (root / "icons").string()};
    std::error_code ec;
    std::filesystem::create_directories(out.dataDir, ec);
    if (!ec) std::filesystem::create_directories(out.embeddedDir, ec);
    if (!ec) std::filesystem::create_directories(out.iconsDir, ec);
    if (ec) {
        std::fprintf(stderr, "lumcrest-forge: cannot create %s: %s\n", argv[1],
                     ec.message().c_str());
        return 1;
    }

    std::atomic<std::size_t> nextJob{0};
    std::atomic<bool> failed{false};
    std::mutex logMutex;
    auto worker = [&] {
        for (std::size_t i; (i = nextJob++) < jobs.size();) {
            const auto start = std::chrono::steady_clock::now();
            try {
                jobs[i].run(out);
            } catch (const std::exception& e) {
                std::lock_guard lock(logMutex);
                std::fprintf(stderr, "lumcrest-forge: %s failed: %s\n", jobs[i].name, e.what());
                failed = true;
                continue;
            }
            const auto ms = std::chrono::duration_cast<std::chrono::milliseconds>(
                                std::chrono::steady_clock::now() - start)
                                .count();
            std::lock_guard lock(logMutex);
            std::printf("forged %-12s %6lld ms\n", jobs[i].name, static_cast<long long>(ms));
        }
    };
    const unsigned threads = std::max(2u, std::thread::hardware_concurrency());
    std::vector<std::thread> pool;
    for (unsigned t = 0; t < threads; ++t) pool.emplace_back(worker);
    for (auto& t : pool) t.join();
    return failed ? 1 : 0;
}
