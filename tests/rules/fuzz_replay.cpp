// Plays the rules fuzzer's inputs without libFuzzer, so every build runs them: each file of the
// folders or files named, then a fixed series of pseudo-random inputs.
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <vector>

#include "game/random.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size);

namespace {

void play(const std::filesystem::path& file) {
    std::ifstream in(file, std::ios::binary);
    std::vector<std::uint8_t> bytes((std::istreambuf_iterator<char>(in)), {});
    LLVMFuzzerTestOneInput(bytes.data(), bytes.size());
}

}  // namespace

int main(int argc, char** argv) {
    int inputs = 0;
    for (int i = 1; i < argc; ++i) {
        const std::filesystem::path path = argv[i];
        if (std::filesystem::is_directory(path)) {
            for (const auto& entry : std::filesystem::directory_iterator(path)) {
                play(entry.path());
                ++inputs;
            }
        } else {
            play(path);
            ++inputs;
        }
    }
    lumcrest::Random rng;
    rng.seed(20261207);
    for (int n = 0; n < 400; ++n, ++inputs) {
        std::vector<std::uint8_t> bytes(std::size_t(100 + rng.below(3000)));
        for (auto& b : bytes) b = std::uint8_t(rng.next());
        LLVMFuzzerTestOneInput(bytes.data(), bytes.size());
    }
    std::printf("%d inputs played, every invariant kept\n", inputs);
    return 0;
}
