// Our BMP decoder against SDL's reader: every bitmap the forge writes, and the other uncompressed
// kinds, give the same pixels both ways.
#include <SDL.h>
#include <gtest/gtest.h>

#include <filesystem>
#include <vector>

#include "toolkit/image.h"

namespace {

using Bytes = std::vector<std::uint8_t>;

// The picture as SDL reads it, in our pixel format; empty when SDL refuses it.
tk::Image decodedBySdl(const Bytes& bytes) {
    SDL_RWops* rw = SDL_RWFromConstMem(bytes.data(), int(bytes.size()));
    SDL_Surface* loaded = rw ? SDL_LoadBMP_RW(rw, 1) : nullptr;
    if (!loaded) return {};
    SDL_Surface* argb = SDL_ConvertSurfaceFormat(loaded, SDL_PIXELFORMAT_ARGB8888, 0);
    SDL_FreeSurface(loaded);
    tk::Image img(argb->w, argb->h);
    for (int y = 0; y < argb->h; ++y)
        for (int x = 0; x < argb->w; ++x)
            img.setPixel(x, y, static_cast<const std::uint32_t*>(argb->pixels)[y * argb->pitch / 4 + x]);
    SDL_FreeSurface(argb);
    return img;
}

void expectSame(const Bytes& bytes, const std::string& name) {
    tk::Image ours = tk::decodeBmp(bytes, name);
    tk::Image theirs = decodedBySdl(bytes);
    ASSERT_EQ(ours.width(), theirs.width()) << name;
    ASSERT_EQ(ours.height(), theirs.height()) << name;
    EXPECT_TRUE(ours.pixels() == theirs.pixels()) << name;
}

TEST(BmpDecoder, TheForgesBitmapsDecodeAsSdlReadsThem) {
    int seen = 0;
    for (const auto& entry : std::filesystem::directory_iterator(LUMCREST_TEST_DATA_DIR)) {
        if (entry.path().extension() != ".bmp") continue;
        ++seen;
        expectSame(tk::readFileBytes(entry.path().string()), entry.path().filename().string());
    }
    EXPECT_GE(seen, 20);
}

void put(Bytes& b, std::uint32_t v, int n) {
    for (int i = 0; i < n; ++i) b.push_back(std::uint8_t(v >> (8 * i)));
}

// WIDTH x HEIGHT pixels of BITS with a 40-byte header, a palette of PALETTE colours and rows of
// pseudo-random bytes.
Bytes randomBmp(int width, int height, int bits, int palette, unsigned seed) {
    std::size_t rowBytes = ((std::size_t(width) * bits + 31) / 32) * 4;
    std::uint32_t dataAt = 54 + 4 * std::uint32_t(palette);
    std::uint32_t size = std::uint32_t(rowBytes) * std::uint32_t(height < 0 ? -height : height);
    Bytes b = {'B', 'M'};
    put(b, dataAt + size, 4);
    put(b, 0, 4);
    put(b, dataAt, 4);
    put(b, 40, 4);
    put(b, std::uint32_t(width), 4);
    put(b, std::uint32_t(height), 4);
    put(b, 1, 2);
    put(b, std::uint32_t(bits), 2);
    put(b, 0, 4);
    put(b, size, 4);
    put(b, 2835, 4);
    put(b, 2835, 4);
    put(b, std::uint32_t(palette), 4);
    put(b, 0, 4);
    for (std::uint32_t i = 0; i < dataAt - 54 + size; ++i) {
        seed = seed * 1103515245u + 12345u;
        b.push_back(std::uint8_t(seed >> 16));
    }
    // Palette entries' fourth byte is reserved.
    for (int i = 0; i < palette; ++i) b[54 + 4 * std::size_t(i) + 3] = 0;
    return b;
}

TEST(BmpDecoder, OtherUncompressedKindsDecodeAsSdlReadsThem) {
    expectSame(randomBmp(7, 5, 24, 0, 1), "24 bits");
    expectSame(randomBmp(7, -5, 24, 0, 2), "24 bits top-down");
    expectSame(randomBmp(9, 4, 8, 256, 3), "8 bits");
    expectSame(randomBmp(13, 3, 4, 16, 4), "4 bits");
    expectSame(randomBmp(21, 3, 1, 2, 5), "1 bit");
    expectSame(randomBmp(5, 3, 16, 0, 6), "16 bits");
}

}  // namespace
