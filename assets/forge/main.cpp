// lumcrest-forge OUTDIR [--po PODIR] [JOB...]: makes every picture, sound and tune of Lumcrest,
// or only the named jobs ("gems", "music", ...) while an artist works on them. With the
// translations of PODIR (LANG.po) every picture with words is drawn once more per language, in
// OUTDIR/data/LANG. OUTDIR/fit-report.txt lists every measured text and whether it fits.

#include <algorithm>
#include <atomic>
#include <chrono>
#include <cstdio>
#include <exception>
#include <filesystem>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

#include "assets/forge/forge.h"
#include "assets/forge/image_writers.h"
#include "assets/forge/words.h"

namespace {

struct Job {
    const char* name;
    void (*run)(const forge::Output&);
};

// Longest first, so the music overlaps everything else.
constexpr Job kJobs[] = {
    // clang-format off
    {"music", forge::forgeGameMusic},         {"menu music", forge::forgeMenuMusic},
    {"backgrounds", forge::forgeBackgrounds}, {"gems", forge::forgeGems},
    {"pictures", forge::forgePictures},       {"help page", forge::forgeHelpPage},
    {"buttons", forge::forgeButtons},         {"effects", forge::forgeEffects},
    {"bursts", forge::forgeBursts},           {"jar", forge::forgeJar},
    {"web page", forge::forgeWebPage},       {"icons", forge::forgeIcons},
    {"lights", forge::forgeLights},
    // clang-format on
};

// The jobs whose pictures carry words: drawn again for every language.
constexpr Job kWordJobs[] = {
    {"pictures", forge::forgePictures},
    {"help page", forge::forgeHelpPage},
    {"buttons", forge::forgeButtons},
    {"web page", forge::forgeWebPage},
};

struct Task {
    const Job* job;
    forge::Output out;
    const forge::Catalogue* words;
};

}  // namespace

int main(int argc, char** argv) {
    if (argc < 2) {
        std::fprintf(stderr, "usage: %s OUTDIR [--po PODIR] [JOB...]\n", argv[0]);
        return 2;
    }
    std::string poDir;
    std::vector<std::string> wanted;
    for (int a = 2; a < argc; ++a) {
        if (std::string(argv[a]) == "--po" && a + 1 < argc)
            poDir = argv[++a];
        else
            wanted.emplace_back(argv[a]);
    }
    auto isWanted = [&](const Job& job) {
        return wanted.empty() || std::find(wanted.begin(), wanted.end(), job.name) != wanted.end();
    };
    const std::filesystem::path root(argv[1]);
    forge::Output out{(root / "data").string(), (root / "embedded").string(), "",
                      (root / "icons").string()};

    // The translations, in a fixed order so every run writes the same files.
    std::vector<std::pair<std::string, forge::Catalogue>> languages;
    if (!poDir.empty()) {
        std::vector<std::filesystem::path> files;
        std::error_code dirError;
        for (const auto& entry : std::filesystem::directory_iterator(poDir, dirError))
            if (entry.path().extension() == ".po") files.push_back(entry.path());
        if (dirError) {
            std::fprintf(stderr, "lumcrest-forge: cannot read %s\n", poDir.c_str());
            return 1;
        }
        std::sort(files.begin(), files.end());
        try {
            for (const auto& f : files)
                languages.emplace_back(f.stem().string(), forge::readCatalogue(f.string()));
        } catch (const std::exception& e) {
            std::fprintf(stderr, "lumcrest-forge: %s\n", e.what());
            return 1;
        }
    }
    std::vector<Task> tasks;
    for (const Job& job : kJobs)
        if (isWanted(job)) tasks.push_back({&job, out, nullptr});
    for (const auto& [lang, words] : languages) {
        const std::string dir = (root / "data" / lang).string();
        for (const Job& job : kWordJobs)
            if (isWanted(job)) tasks.push_back({&job, {dir, dir, lang, ""}, &words});
    }
    if (tasks.empty()) {
        std::fprintf(stderr, "lumcrest-forge: no such job\n");
        return 2;
    }
    std::error_code ec;
    std::filesystem::create_directories(out.dataDir, ec);
    std::filesystem::create_directories(out.embeddedDir, ec);
    for (const auto& lang : languages)
        std::filesystem::create_directories(root / "data" / lang.first, ec);
    std::filesystem::create_directories(out.iconsDir, ec);
    if (ec) {
        std::fprintf(stderr, "lumcrest-forge: cannot create %s: %s\n", argv[1],
                     ec.message().c_str());
        return 1;
    }

    std::atomic<std::size_t> nextJob{0};
    std::atomic<bool> failed{false};
    std::mutex logMutex;
    auto worker = [&] {
        for (std::size_t i; (i = nextJob++) < tasks.size();) {
            const Task& task = tasks[i];
            const auto start = std::chrono::steady_clock::now();
            forge::useWords(task.out.lang, task.words);
            try {
                task.job->run(task.out);
            } catch (const std::exception& e) {
                std::lock_guard lock(logMutex);
                std::fprintf(stderr, "lumcrest-forge: %s %s failed: %s\n", task.job->name,
                             task.out.lang.c_str(), e.what());
                failed = true;
                continue;
            }
            const auto ms = std::chrono::duration_cast<std::chrono::milliseconds>(
                                std::chrono::steady_clock::now() - start)
                                .count();
            std::lock_guard lock(logMutex);
            std::printf("forged %-12s %-5s %6lld ms\n", task.job->name, task.out.lang.c_str(),
                        static_cast<long long>(ms));
        }
    };
    const unsigned threads = std::max(2u, std::thread::hardware_concurrency());
    std::vector<std::thread> pool;
    for (unsigned t = 0; t < threads; ++t) pool.emplace_back(worker);
    for (auto& t : pool) t.join();

    // The fit report, sorted: the threads finish in any order.
    std::vector<std::string> fits = forge::fitReport();
    std::sort(fits.begin(), fits.end());
    std::string report;
    for (const auto& line : fits) report += line + "\n";
    try {
        forge::writeTextFile((root / "fit-report.txt").string(), report);
    } catch (const std::exception& e) {
        std::fprintf(stderr, "lumcrest-forge: %s\n", e.what());
        failed = true;
    }
    return failed ? 1 : 0;
}
