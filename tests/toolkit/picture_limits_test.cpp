// Pictures with forged headers: a few bytes claiming a picture of 60000 x 60000 pixels are
// refused with a clear error before any memory is taken. Each case runs in a process of its own
// under a memory cap, so a decoder that believed the header fails the test instead of the machine.
#include <gtest/gtest.h>
#include <jpeglib.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdio>
#include <filesystem>
#include <functional>

#include "toolkit/error.h"
#include "toolkit/image.h"

#if defined(__SANITIZE_ADDRESS__)
#define ADDRESS_SANITIZED 1
#elif defined(__has_feature)
#if __has_feature(address_sanitizer)
#define ADDRESS_SANITIZED 1
#endif
#endif

namespace tk {
namespace {

using Bytes = std::vector<std::uint8_t>;

void putLe(Bytes& b, std::size_t at, std::uint32_t v, int n) {
    for (int i = 0; i < n; ++i) b[at + std::size_t(i)] = std::uint8_t(v >> (8 * i));
}

// A 70-byte BMP header claiming SIDE x SIDE pixels of 24 bits.
Bytes forgedBmp(std::uint32_t side) {
    Bytes b(70, 0);
    b[0] = 'B';
    b[1] = 'M';
    putLe(b, 2, 70, 4);
    putLe(b, 10, 54, 4);
    putLe(b, 14, 40, 4);
    putLe(b, 18, side, 4);
    putLe(b, 22, side, 4);
    putLe(b, 26, 1, 2);
    putLe(b, 28, 24, 2);
    return b;
}

std::uint32_t crc32(const std::uint8_t* p, std::size_t n) {
    std::uint32_t c = 0xFFFFFFFFu;
    for (std::size_t i = 0; i < n; ++i) {
        c ^= p[i];
        for (int k = 0; k < 8; ++k) c = (c >> 1) ^ (0xEDB88320u & (0u - (c & 1u)));
    }
    return c ^ 0xFFFFFFFFu;
}

void putBe(Bytes& b, std::uint32_t v) {
    for (int i = 3; i >= 0; --i) b.push_back(std::uint8_t(v >> (8 * i)));
}

void chunk(Bytes& b, const char* type, const Bytes& data) {
    putBe(b, std::uint32_t(data.size()));
    std::size_t start = b.size();
    b.insert(b.end(), type, type + 4);
    b.insert(b.end(), data.begin(), data.end());
    putBe(b, crc32(b.data() + start, b.size() - start));
}

// A PNG with a correct header chunk claiming SIDE x SIDE pixels and a token of data.
Bytes forgedPng(std::uint32_t side) {
    Bytes b = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n'};
    Bytes header;
    putBe(header, side);
    putBe(header, side);
    for (std::uint8_t v : {8, 6, 0, 0, 0}) header.push_back(v);  // 8-bit RGBA
    chunk(b, "IHDR", header);
    chunk(b, "IDAT", Bytes{0x78, 0x9C, 0x03, 0x00});
    chunk(b, "IEND", Bytes{});
    return b;
}

// A real 16 x 16 JPEG whose frame header is then made to claim SIDE x SIDE pixels.
Bytes forgedJpeg(std::uint16_t side) {
    jpeg_compress_struct c;
    jpeg_error_mgr err;
    c.err = jpeg_std_error(&err);
    jpeg_create_compress(&c);
    unsigned char* out = nullptr;
    unsigned long size = 0;
    jpeg_mem_dest(&c, &out, &size);
    c.image_width = 16;
    c.image_height = 16;
    c.input_components = 3;
    c.in_color_space = JCS_RGB;
    jpeg_set_defaults(&c);
    jpeg_start_compress(&c, TRUE);
    std::vector<unsigned char> row(16 * 3, 128);
    while (c.next_scanline < c.image_height) {
        JSAMPROW r = row.data();
        jpeg_write_scanlines(&c, &r, 1);
    }
    jpeg_finish_compress(&c);
    Bytes b(out, out + size);
    jpeg_destroy_compress(&c);
    std::free(out);
    for (std::size_t i = 0; i + 8 < b.size(); ++i)
        if (b[i] == 0xFF && b[i + 1] == 0xC0) {
            b[i + 5] = b[i + 7] = std::uint8_t(side >> 8);
            b[i + 6] = b[i + 8] = std::uint8_t(side);
            break;
        }
    return b;
}

// Runs CHECK in a child process whose address space is capped at 1 GiB (unless a sanitizer
// reserves more than that for itself); true when it exits 0 within ten seconds.
bool inCappedProcess(const std::function<bool()>& check) {
    pid_t child = ::fork();
    if (child == 0) {
#ifndef ADDRESS_SANITIZED
        rlimit cap{1L << 30, 1L << 30};
        ::setrlimit(RLIMIT_AS, &cap);
#endif
        ::alarm(10);
        bool ok = false;
        try {
            ok = check();
        } catch (...) {
            ok = false;  // std::bad_alloc: the decoder believed the header
        }
        ::_exit(ok ? 0 : 1);
    }
    int status = 0;
    ::waitpid(child, &status, 0);
    return WIFEXITED(status) && WEXITSTATUS(status) == 0;
}

bool refusedAsTooLarge(const Bytes& bytes) {
    try {
        decodePicture(bytes, "help.jpg");
    } catch (const Error& e) {
        std::string m = e.what();
        return m.find("too large") != std::string::npos && m.find("help.jpg") != std::string::npos;
    }
    return false;
}

TEST(ForgedPictures, HeadersClaimingHugePicturesAreRefusedBeforeAnyAllocation) {
    EXPECT_TRUE(inCappedProcess([] { return refusedAsTooLarge(forgedBmp(60000)); })) << "BMP";
    EXPECT_TRUE(inCappedProcess([] { return refusedAsTooLarge(forgedPng(60000)); })) << "PNG";
    EXPECT_TRUE(inCappedProcess([] { return refusedAsTooLarge(forgedJpeg(60000)); })) << "JPEG";
    // Just past the side limit, with a small area: still refused.
    EXPECT_TRUE(inCappedProcess([] { return refusedAsTooLarge(forgedPng(8193)); })) << "8193";
}

TEST(ForgedPictures, PicturesWithinTheLimitsStillDecode) {
    Image small = decodePicture(forgedJpeg(16), "small.jpg");
    EXPECT_EQ(small.width(), 16);
    EXPECT_EQ(small.height(), 16);
}

// A picture's rectangle read from its header alone, as a control learns whether it covers what
// lies under it without decoding: the same size as a decode gives, and nothing from a header
// that is cut short, unknown or beyond the limits.
TEST(PictureBounds, TheHeaderGivesTheDecodedSizeOrNothing) {
    const Bytes png = encodePng(Image(7, 5));
    const Bytes jpeg = forgedJpeg(16);
    const Bytes bmp = forgedBmp(9);
    for (const Bytes* b : {&png, &jpeg, &bmp}) {
        const Rect r = pictureBounds(*b);
        EXPECT_EQ(r.x, 0);
        EXPECT_EQ(r.y, 0);
        if (b != &bmp) {  // the forged BMP has no pixel data to decode
            const Image img = decodePicture(*b, "bounds");
            EXPECT_EQ(r.w, img.width());
            EXPECT_EQ(r.h, img.height());
        }
    }
    EXPECT_EQ(pictureBounds(bmp), (Rect{0, 0, 9, 9}));
    for (const Bytes& b :
         {forgedPng(60000), forgedJpeg(60000), forgedBmp(60000),
          Bytes(png.begin(), png.begin() + 20), Bytes(jpeg.begin(), jpeg.begin() + 30),
          Bytes(bmp.begin(), bmp.begin() + 20), Bytes{'B', 'M'}, Bytes{}})
        EXPECT_TRUE(pictureBounds(b).empty()) << b.size() << " bytes";
}

// --- Something other than a file where a picture should be.

TEST(PictureFiles, AFolderOrAPipeInAFilesPlaceIsAClearErrorAtOnce) {
    char tmpl[] = "/tmp/lumcrest-pictures-XXXXXX";
    std::filesystem::path dir = ::mkdtemp(tmpl);
    std::filesystem::create_directory(dir / "help.jpg");
    ASSERT_EQ(::mkfifo((dir / "Play_0.bmp").c_str(), 0600), 0);
    auto message = [](const std::filesystem::path& p) {
        try {
            readFileBytes(p.string());
        } catch (const Error& e) {
            return std::string(e.what());
        }
        return std::string("no error");
    };
    EXPECT_EQ(message(dir / "help.jpg"),
              "Cannot open file \"" + (dir / "help.jpg").string() + "\". It is a folder");
    EXPECT_EQ(message(dir / "Play_0.bmp"), "Cannot open file \"" + (dir / "Play_0.bmp").string() +
                                               "\". It is not a regular file");
    EXPECT_EQ(message(dir / "gone.bmp"), "Cannot open file \"" + (dir / "gone.bmp").string() +
                                             "\". No such file or directory");
    std::filesystem::remove_all(dir);
}

}  // namespace
}  // namespace tk
