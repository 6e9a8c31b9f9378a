// Our BMP decoder against SDL's reader: every bitmap the forge writes, and the other uncompressed
// kinds, give the same pixels both ways.
#include <SDL.h>
#include <gtest/gtest.h>

#include <filesystem>
#include <vector>

#include "tests/support/bmp_bytes.h"
#include "toolkit/image.h"

namespace {

using bmp_bytes::Bytes;

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
            img.setPixel(x, y,
                         static_cast<const std::uint32_t*>(argb->pixels)[y * argb->pitch / 4 + x]);
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

// WIDTH x HEIGHT pixels of BITS, a palette of PALETTE colours and rows of pseudo-random bytes.
Bytes randomBmp(int width, int height, int bits, int palette, unsigned seed) {
    auto next = [&seed] {
        seed = seed * 1103515245u + 12345u;
        return std::uint8_t(seed >> 16);
    };
    std::vector<std::uint32_t> colours(std::size_t(palette), 0);
    for (std::uint32_t& c : colours)  // blue, green, red; the fourth byte is reserved
        for (int shift = 0; shift < 24; shift += 8) c |= std::uint32_t(next()) << shift;
    const std::size_t rowBytes = ((std::size_t(width) * bits + 31) / 32) * 4;
    Bytes rows(rowBytes * std::size_t(height < 0 ? -height : height));
    for (std::uint8_t& byte : rows) byte = next();
    return bmp_bytes::bmp(width, height, bits, 0, {}, colours, rows);
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
