// The BMP decoder: the pictures the forge writes, the other uncompressed kinds, and files that
// are cut short or forged. Damaged files give an error that names the file, never a crash.
#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include "tests/support/bmp_bytes.h"
#include "toolkit/error.h"
#include "toolkit/image.h"

namespace tk {
namespace {

using bmp_bytes::bmp;
using bmp_bytes::Bytes;
using bmp_bytes::put;

std::string errorOf(const Bytes& bytes, const std::string& name = "Play_0.bmp") {
    try {
        decodeBmp(bytes, name);
    } catch (const Error& e) {
        return e.what();
    }
    return "decoded";
}

TEST(BmpDecoder, TwentyFourBitRowsArePaddedAndStoredBottomUp) {
    // 3 x 2: bottom row blue, green, red; top row white, black, grey; rows padded to 12 bytes.
    Bytes rows = {0xFF, 0,    0,    0, 0xFF, 0, 0,    0,    0xFF, 0, 0, 0,
                  0xFF, 0xFF, 0xFF, 0, 0,    0, 0x80, 0x80, 0x80, 0, 0, 0};
    Image img = decodeBmp(bmp(3, 2, 24, 0, {}, {}, rows), "t.bmp");
    ASSERT_EQ(img.width(), 3);
    ASSERT_EQ(img.height(), 2);
    EXPECT_EQ(img.pixel(0, 0), 0xFFFFFFFFu);
    EXPECT_EQ(img.pixel(1, 0), 0xFF000000u);
    EXPECT_EQ(img.pixel(2, 0), 0xFF808080u);
    EXPECT_EQ(img.pixel(0, 1), 0xFF0000FFu);
    EXPECT_EQ(img.pixel(1, 1), 0xFF00FF00u);
    EXPECT_EQ(img.pixel(2, 1), 0xFFFF0000u);
    // A negative height stores the top row first.
    Image topDown = decodeBmp(bmp(3, -2, 24, 0, {}, {}, rows), "t.bmp");
    EXPECT_EQ(topDown.pixel(0, 0), 0xFF0000FFu);
    EXPECT_EQ(topDown.pixel(2, 1), 0xFF808080u);
}

TEST(BmpDecoder, PaletteSixteenAndThirtyTwoBitKinds) {
    // 8 bits: indices into a palette of three colours; an index past it is black.
    Image eight =
        decodeBmp(bmp(3, 1, 8, 0, {}, {0x112233, 0x445566, 0x778899}, Bytes{2, 0, 7, 0}), "p.bmp");
    EXPECT_EQ(eight.pixel(0, 0), 0xFF778899u);
    EXPECT_EQ(eight.pixel(1, 0), 0xFF112233u);
    EXPECT_EQ(eight.pixel(2, 0), 0xFF000000u);
    // 1 and 4 bits: the high bits are the leftmost pixel.
    Image one =
        decodeBmp(bmp(10, 1, 1, 0, {}, {0x000000, 0xFFFFFF}, Bytes{0xA0, 0x40, 0, 0}), "p.bmp");
    EXPECT_EQ(one.pixel(0, 0), 0xFFFFFFFFu);
    EXPECT_EQ(one.pixel(1, 0), 0xFF000000u);
    EXPECT_EQ(one.pixel(2, 0), 0xFFFFFFFFu);
    EXPECT_EQ(one.pixel(9, 0), 0xFFFFFFFFu);
    Image four = decodeBmp(
        bmp(3, 1, 4, 0, {}, {0x0000FF, 0x00FF00, 0xFF0000}, Bytes{0x21, 0x00, 0, 0}), "p.bmp");
    EXPECT_EQ(four.pixel(0, 0), 0xFFFF0000u);
    EXPECT_EQ(four.pixel(1, 0), 0xFF00FF00u);
    EXPECT_EQ(four.pixel(2, 0), 0xFF0000FFu);
    // 16 bits, 5-5-5 by default and 5-6-5 through masks.
    Image five = decodeBmp(bmp(2, 1, 16, 0, {}, {}, Bytes{0x00, 0x7C, 0x1F, 0x00}), "s.bmp");
    EXPECT_EQ(five.pixel(0, 0), 0xFFFF0000u);
    EXPECT_EQ(five.pixel(1, 0), 0xFF0000FFu);
    Image six = decodeBmp(
        bmp(2, 1, 16, 3, {0xF800, 0x07E0, 0x001F}, {}, Bytes{0xE0, 0x07, 0x00, 0xF8}), "s.bmp");
    EXPECT_EQ(six.pixel(0, 0), 0xFF00FF00u);
    EXPECT_EQ(six.pixel(1, 0), 0xFFFF0000u);
    // 32 bits: the fourth byte is alpha when any pixel has some, else every pixel is opaque.
    Image withAlpha =
        decodeBmp(bmp(2, 1, 32, 0, {}, {}, Bytes{1, 2, 3, 0x80, 4, 5, 6, 0}), "a.bmp");
    EXPECT_EQ(withAlpha.pixel(0, 0), 0x80030201u);
    EXPECT_EQ(withAlpha.pixel(1, 0), 0x00060504u);
    Image noAlpha = decodeBmp(bmp(2, 1, 32, 0, {}, {}, Bytes{1, 2, 3, 0, 4, 5, 6, 0}), "a.bmp");
    EXPECT_EQ(noAlpha.pixel(0, 0), 0xFF030201u);
    EXPECT_EQ(noAlpha.pixel(1, 0), 0xFF060504u);
}

TEST(BmpDecoder, EveryCutOfAFileIsAClearErrorNamingIt) {
    Bytes rows(12 * 3, 0x55);
    Bytes whole = bmp(4, 3, 24, 0, {}, {}, rows);
    ASSERT_EQ(errorOf(whole), "decoded");
    for (std::size_t n = 0; n < whole.size(); ++n) {
        Bytes cut(whole.begin(), whole.begin() + std::ptrdiff_t(n));
        std::string message = errorOf(cut);
        EXPECT_NE(message.find("Play_0.bmp"), std::string::npos) << n << " bytes: " << message;
    }
    Bytes cut(whole.begin(), whole.end() - 1);
    EXPECT_EQ(errorOf(cut), "Bitmap image is not valid: Play_0.bmp (the file is cut short)");
}

TEST(BmpDecoder, ForgedHeadersAreRefusedWithTheirReason) {
    Bytes good = bmp(2, 2, 24, 0, {}, {}, Bytes(16, 0));
    auto forged = [&](std::size_t at, std::uint32_t v, int n) {
        Bytes b = good;
        for (int i = 0; i < n; ++i) b[at + std::size_t(i)] = std::uint8_t(v >> (8 * i));
        return errorOf(b);
    };
    EXPECT_NE(forged(10, 0xFFFFFFF0u, 4).find("cut short"), std::string::npos)
        << "pixels past the end";
    EXPECT_NE(forged(14, 7, 4).find("header size 7"), std::string::npos);
    EXPECT_NE(forged(28, 7, 2).find("7 bits per pixel"), std::string::npos);
    EXPECT_NE(forged(30, 1, 4).find("compressed"), std::string::npos) << "run-length";
    EXPECT_NE(forged(18, 0, 4).find("no pixels"), std::string::npos);
    EXPECT_NE(forged(18, 60000, 4).find("too large"), std::string::npos);
    EXPECT_NE(forged(22, std::uint32_t(-60000), 4).find("too large"), std::string::npos);
    // A palette claiming more than 256 colours, and masks on 24 bits.
    Bytes pal = bmp(1, 1, 8, 0, {}, {0}, Bytes{0, 0, 0, 0});
    pal[46] = 0xFF, pal[47] = 0xFF;
    EXPECT_NE(errorOf(pal).find("palette"), std::string::npos);
    EXPECT_NE(forged(30, 3, 4).find("masks"), std::string::npos);
    EXPECT_NE(errorOf(Bytes{'B', 'M', 0}).find("Play_0.bmp"), std::string::npos);
    EXPECT_NE(errorOf(Bytes{'P', 'K', 0, 0}).find("signature"), std::string::npos);
}

// Every picture the forge writes as a BMP decodes whole and opaque.
TEST(BmpDecoder, TheForgesBitmapsDecode) {
    int seen = 0;
    for (const auto& entry : std::filesystem::directory_iterator(LUMCREST_TEST_DATA_DIR)) {
        if (entry.path().extension() != ".bmp") continue;
        ++seen;
        Image img = decodePicture(readFileBytes(entry.path().string()), entry.path().string());
        EXPECT_FALSE(img.empty()) << entry.path();
        for (Argb p : img.pixels()) ASSERT_EQ(p >> 24, 0xFFu) << entry.path();
    }
    EXPECT_GE(seen, 20);
}

}  // namespace
}  // namespace tk
