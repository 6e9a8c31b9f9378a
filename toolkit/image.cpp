#include "toolkit/image.h"

#include <fcntl.h>
#include <jpeglib.h>
#include <png.h>
#include <sys/mman.h>
#include <sys/stat.h>
#include <unistd.h>

#include <bit>
#include <cerrno>
#include <csetjmp>
#include <cstdio>
#include <cstring>
#include <map>
#include <new>
#include <set>
#include <utility>

#include "toolkit/error.h"
#include "toolkit/i18n.h"

namespace tk {

Image::Image(int width, int height, Argb fill)
    : w_(width > 0 ? width : 0),
      h_(height > 0 ? height : 0),
      px_(std::size_t(w_) * std::size_t(h_), fill) {}

void Image::reshape(int width, int height) {
    w_ = width > 0 ? width : 0;
    h_ = height > 0 ? height : 0;
    px_.resize(std::size_t(w_) * std::size_t(h_));
}

Image Image::crop(Rect r) const {
    Rect c = r.intersect(Rect{0, 0, w_, h_});
    Image out(c.w, c.h);
    for (int y = 0; y < c.h; ++y)
        std::memcpy(out.row(y), row(c.y + y) + c.x, std::size_t(c.w) * sizeof(Argb));
    return out;
}

std::vector<std::uint8_t> readFileBytes(const std::string& path) {
    // A pipe or device in a file's place is refused at once, without waiting for a writer.
    int fd = ::open(path.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC | O_NOCTTY);
    if (fd < 0) {
        int err = errno;
        if (err == ENOENT || err == ENOTDIR)
            throw Error(tr("Cannot open file \"%s\". No such file or directory", path));
        throw Error(tr("Cannot open file \"%s\". ", path) + std::strerror(err));
    }
    struct stat st {};
    if (::fstat(fd, &st) != 0 || !S_ISREG(st.st_mode)) {
        ::close(fd);
        throw Error(tr("Cannot open file \"%s\". ", path) +
                    (S_ISDIR(st.st_mode) ? tr("It is a folder") : tr("It is not a regular file")));
    }
    std::vector<std::uint8_t> bytes;
    bytes.reserve(std::size_t(st.st_size));
    std::uint8_t buf[1 << 16];
    for (;;) {
        ssize_t n = ::read(fd, buf, sizeof buf);
        if (n < 0 && errno == EINTR) continue;
        if (n < 0) {
            ::close(fd);
            throw Error(tr("Cannot read file \"%s\"", path));
        }
        if (n == 0) break;
        bytes.insert(bytes.end(), buf, buf + n);
    }
    ::close(fd);
    return bytes;
}

bool isRegularFile(const std::string& path) {
    struct stat st {};
    return ::stat(path.c_str(), &st) == 0 && S_ISREG(st.st_mode);
}

// Every picture's size is checked against its header before any pixel memory is taken: a forged
// header must not make the game allocate without limit.
void checkPictureSize(long long width, long long height, const std::string& what) {
    if (width < 0) width = -width;
    if (height < 0) height = -height;
    if (width > kMaxPictureSide || height > kMaxPictureSide ||
        width * height * 4 > kMaxPictureBytes)
        throw Error(
            tr("Picture too large: %s", std::to_string(width) + " x " + std::to_string(height)) +
            tr(" pixels, at most %s", std::to_string(kMaxPictureSide) + " x " +
                                          std::to_string(kMaxPictureSide) + " (" + what + ")"));
}

// --- PNG, through libpng's simplified interface -----------------------------------------------

Image decodePng(std::span<const std::uint8_t> bytes, const std::string& what) {
    png_image png;
    std::memset(&png, 0, sizeof png);
    png.version = PNG_IMAGE_VERSION;
    if (!png_image_begin_read_from_memory(&png, bytes.data(), bytes.size()))
        throw Error(tr("Bitmap image is not valid: %s", what));
    try {
        checkPictureSize(png.width, png.height, what);
    } catch (...) {
        png_image_free(&png);
        throw;
    }
    png.format = PNG_FORMAT_BGRA;  // little-endian BGRA bytes are 0xAARRGGBB words
    Image img(int(png.width), int(png.height));
    if (!png_image_finish_read(&png, nullptr, img.pixels().data(), 0, nullptr)) {
        png_image_free(&png);
        throw Error(tr("Bitmap image is not valid: %s", what));
    }
    return img;
}

namespace {

// The PNG writer's description of IMAGE: rows of BGRA bytes, Argb's order in memory.
png_image pngHeader(const Image& image) {
    png_image png;
    std::memset(&png, 0, sizeof png);
    png.version = PNG_IMAGE_VERSION;
    png.width = png_uint_32(image.width());
    png.height = png_uint_32(image.height());
    png.format = PNG_FORMAT_BGRA;
    return png;
}

}  // namespace

std::vector<std::uint8_t> encodePng(const Image& image) {
    png_image png = pngHeader(image);
    // The first call measures, the second writes.
    png_alloc_size_t size = 0;
    if (!png_image_write_to_memory(&png, nullptr, &size, 0, image.pixels().data(), 0, nullptr))
        return {};
    std::vector<std::uint8_t> bytes(size);
    png = pngHeader(image);
    if (!png_image_write_to_memory(&png, bytes.data(), &size, 0, image.pixels().data(), 0, nullptr))
        return {};
    bytes.resize(size);
    return bytes;
}

// --- JPEG, through libjpeg-turbo ------------------------------------------------------------

namespace {

struct JpegErrors {
    jpeg_error_mgr mgr;
    std::jmp_buf jump;
    char message[JMSG_LENGTH_MAX];
};

void jpegFail(j_common_ptr cinfo) {
    auto* err = reinterpret_cast<JpegErrors*>(cinfo->err);
    (*cinfo->err->format_message)(cinfo, err->message);
    std::longjmp(err->jump, 1);
}

// Keeps the warning count (a truncated file warns) but prints nothing.
void jpegMessage(j_common_ptr cinfo, int level) {
    if (level < 0) cinfo->err->num_warnings++;
}

}  // namespace

Image decodeJpeg(std::span<const std::uint8_t> bytes, const std::string& what) {
    jpeg_decompress_struct cinfo;
    JpegErrors err;
    cinfo.err = jpeg_std_error(&err.mgr);
    err.mgr.error_exit = jpegFail;
    err.mgr.emit_message = jpegMessage;
    Image img;
    if (setjmp(err.jump)) {
        jpeg_destroy_decompress(&cinfo);
        throw Error(tr("JPEG error: %s", std::string(err.message) + " (" + what + ")"));
    }
    jpeg_create_decompress(&cinfo);
    jpeg_mem_src(&cinfo, bytes.data(), static_cast<unsigned long>(bytes.size()));
    jpeg_read_header(&cinfo, TRUE);
    if (cinfo.image_width > kMaxPictureSide || cinfo.image_height > kMaxPictureSide ||
        std::uint64_t(cinfo.image_width) * cinfo.image_height * 4 > kMaxPictureBytes) {
        long long w = cinfo.image_width, h = cinfo.image_height;
        jpeg_destroy_decompress(&cinfo);
        checkPictureSize(w, h, what);
    }
    cinfo.out_color_space = JCS_EXT_BGRX;
    jpeg_start_decompress(&cinfo);
    img = Image(int(cinfo.output_width), int(cinfo.output_height));
    while (cinfo.output_scanline < cinfo.output_height) {
        JSAMPROW row = reinterpret_cast<JSAMPROW>(img.row(int(cinfo.output_scanline)));
        jpeg_read_scanlines(&cinfo, &row, 1);
    }
    jpeg_finish_decompress(&cinfo);
    bool truncated = err.mgr.num_warnings > 0;
    jpeg_destroy_decompress(&cinfo);
    if (truncated) throw Error(tr("JPEG error: the picture is damaged or cut short (%s)", what));
    for (Argb& p : img.pixels()) p |= 0xFF000000u;
    return img;
}

// --- BMP, our own decoder -------------------------------------------------------------------
// Reads the uncompressed kinds: 1, 4 and 8 bits through a palette, 16 bits (5-5-5 or masks),
// 24 bits and 32 bits (with masks, or alpha in the fourth byte when any pixel has some), rows
// bottom-up or top-down. Run-length compressed files are refused with a clear message.

namespace {

struct BmpReader {
    std::span<const std::uint8_t> bytes;
    const std::string& what;

    [[noreturn]] void fail(const std::string& why) const {
        throw Error(tr("Bitmap image is not valid: %s", what + " (" + why + ")"));
    }
    std::uint32_t le(std::size_t at, int n) const {
        if (at + std::size_t(n) > bytes.size()) fail("the file is cut short");
        std::uint32_t v = 0;
        for (int i = n - 1; i >= 0; --i) v = (v << 8) | bytes[at + std::size_t(i)];
        return v;
    }
};

// A colour channel under MASK scaled to 0..255; an empty mask gives FALLBACK.
std::uint32_t channel(std::uint32_t pixel, std::uint32_t mask, std::uint32_t fallback) {
    if (mask == 0) return fallback;
    int shift = std::countr_zero(mask);
    std::uint64_t max = mask >> shift;
    return std::uint32_t(std::uint64_t((pixel & mask) >> shift) * 255u / max);
}

struct BmpHeader {
    std::uint32_t dataAt = 0;  // where the pixels begin
    std::uint32_t headerSize = 0;
    long long width = 0, height = 0;  // height positive; TOPDOWN tells the row order
    bool topDown = false;
    int bits = 0;
    std::uint32_t compression = 0, paletteUsed = 0;
};

// The file header and the picture header, in the old 12-byte form or any of the longer ones.
BmpHeader readBmpHeader(const BmpReader& in) {
    if (in.bytes.size() < 2 || in.bytes[0] != 'B' || in.bytes[1] != 'M')
        in.fail("no BMP signature");
    BmpHeader h;
    h.dataAt = in.le(10, 4);
    h.headerSize = in.le(14, 4);
    if (h.headerSize == 12) {
        h.width = in.le(18, 2);
        h.height = std::int16_t(in.le(20, 2));
        h.bits = int(in.le(24, 2));
    } else if (h.headerSize >= 40 && h.headerSize <= 124) {
        h.width = std::int32_t(in.le(18, 4));
        h.height = std::int32_t(in.le(22, 4));
        h.bits = int(in.le(28, 2));
        h.compression = in.le(30, 4);
        h.paletteUsed = in.le(46, 4);
    } else {
        in.fail("unknown header size " + std::to_string(h.headerSize));
    }
    checkPictureSize(h.width, h.height, in.what);
    h.topDown = h.height < 0;
    if (h.height < 0) h.height = -h.height;
    if (h.width <= 0 || h.height <= 0) in.fail("no pixels");
    return h;
}

struct BmpMasks {
    std::uint32_t r = 0, g = 0, b = 0, a = 0;
    bool alphaFromData = false;  // 32 bits without masks: the fourth byte may be alpha
};

// Colour masks: after a 40-byte header they follow it, in the longer headers they are part of
// it; without them 16 bits are 5-5-5 and 24 and 32 bits are bytes.
BmpMasks readBmpMasks(const BmpReader& in, const BmpHeader& h) {
    BmpMasks m;
    if (h.compression == 3 || h.compression == 6) {
        if (h.bits != 16 && h.bits != 32)
            in.fail("colour masks on " + std::to_string(h.bits) + " bits");
        m.r = in.le(54, 4);
        m.g = in.le(58, 4);
        m.b = in.le(62, 4);
        if (h.compression == 6 || h.headerSize >= 56) m.a = in.le(66, 4);
    } else if (h.compression != 0) {
        in.fail("compressed pixels (kind " + std::to_string(h.compression) + ") are not read");
    } else if (h.bits == 16) {
        m.r = 0x7C00, m.g = 0x03E0, m.b = 0x001F;
    } else if (h.bits == 24 || h.bits == 32) {
        m.r = 0x00FF0000, m.g = 0x0000FF00, m.b = 0x000000FF;
        if (h.bits == 32) m.a = 0xFF000000, m.alphaFromData = true;
    }
    return m;
}

// The palette of 1, 4 and 8 bits (empty for the other depths); an unknown depth is refused.
std::vector<Argb> readBmpPalette(const BmpReader& in, const BmpHeader& h) {
    std::vector<Argb> palette;
    if (h.bits == 1 || h.bits == 4 || h.bits == 8) {
        std::uint32_t entries = h.paletteUsed ? h.paletteUsed : (1u << h.bits);
        if (entries > 256) in.fail("a palette of " + std::to_string(entries) + " colours");
        const std::size_t entryBytes = h.headerSize == 12 ? 3 : 4;
        const std::size_t at =
            14 + h.headerSize + (h.compression == 3 && h.headerSize == 40 ? 12 : 0);
        for (std::uint32_t i = 0; i < entries; ++i) {
            std::uint32_t bgr = in.le(at + i * entryBytes, 3);
            palette.push_back(0xFF000000u | bgr);
        }
    } else if (h.bits != 16 && h.bits != 24 && h.bits != 32) {
        in.fail(std::to_string(h.bits) + " bits per pixel");
    }
    return palette;
}

// One row of palette indices.
void bmpIndexedRow(const std::uint8_t* src, int bits, const std::vector<Argb>& palette, Argb* out,
                   int width) {
    const int perByte = 8 / bits;
    for (int x = 0; x < width; ++x) {
        unsigned byte = src[x / perByte];
        unsigned index = (byte >> (8 - bits - (x % perByte) * bits)) & ((1u << bits) - 1);
        out[x] = index < palette.size() ? palette[index] : 0xFF000000u;
    }
}

// One row of 16, 24 or 32-bit pixels through the masks; true when any pixel has some alpha.
bool bmpMaskedRow(const std::uint8_t* src, int bits, const BmpMasks& m, Argb* out, int width) {
    bool anyAlpha = false;
    for (int x = 0; x < width; ++x) {
        std::uint32_t p = 0;
        for (int i = bits / 8 - 1; i >= 0; --i) p = (p << 8) | src[x * (bits / 8) + i];
        std::uint32_t a = channel(p, m.a, 255);
        if (m.a && a) anyAlpha = true;
        out[x] =
            (a << 24) | (channel(p, m.r, 0) << 16) | (channel(p, m.g, 0) << 8) | channel(p, m.b, 0);
    }
    return anyAlpha;
}

}  // namespace

Image decodeBmp(std::span<const std::uint8_t> bytes, const std::string& what) {
    BmpReader in{bytes, what};
    const BmpHeader h = readBmpHeader(in);
    const BmpMasks masks = readBmpMasks(in, h);
    const std::vector<Argb> palette = readBmpPalette(in, h);

    const std::size_t rowBytes = ((std::size_t(h.width) * std::size_t(h.bits) + 31) / 32) * 4;
    if (h.dataAt > bytes.size() || rowBytes * std::size_t(h.height) > bytes.size() - h.dataAt)
        in.fail("the file is cut short");

    const int width = int(h.width), height = int(h.height);
    Image img{width, height};
    bool anyAlpha = false;
    for (int y = 0; y < height; ++y) {
        const std::uint8_t* src = bytes.data() + h.dataAt + rowBytes * std::size_t(y);
        Argb* out = img.row(h.topDown ? y : height - 1 - y);
        if (!palette.empty())
            bmpIndexedRow(src, h.bits, palette, out, width);
        else if (bmpMaskedRow(src, h.bits, masks, out, width))
            anyAlpha = true;
    }
    // Many writers leave the fourth byte of 32-bit pixels at zero: such a picture is opaque.
    if (masks.a && !anyAlpha && (masks.alphaFromData || h.compression == 3))
        for (Argb& p : img.pixels()) p |= 0xFF000000u;
    return img;
}

namespace {

std::span<const std::uint8_t> embeddedBlob;

// The whole pages of BYTES, when they lie among the embedded pictures, go back to the system:
// they are the program file's own, unchanged, so dropping them loses nothing.
void handBackEmbeddedPages(std::span<const std::uint8_t> bytes) {
#if defined(__linux__)
    const std::uint8_t* begin = bytes.data();
    const std::uint8_t* end = begin + bytes.size();
    if (embeddedBlob.empty() || bytes.empty() || begin < embeddedBlob.data() ||
        end > embeddedBlob.data() + embeddedBlob.size())
        return;
    const auto page = std::uintptr_t(::sysconf(_SC_PAGESIZE));
    const std::uintptr_t from = (std::uintptr_t(begin) + page - 1) & ~(page - 1);
    const std::uintptr_t to = std::uintptr_t(end) & ~(page - 1);
    if (to > from) ::madvise(reinterpret_cast<void*>(from), to - from, MADV_DONTNEED);
#else
    (void)bytes;
#endif
}

enum class PictureKind { Bmp, Jpeg, Png, Unknown };

// The picture's kind from its file's signature, whatever its name says.
PictureKind pictureKind(std::span<const std::uint8_t> b) {
    if (b.size() >= 2 && b[0] == 'B' && b[1] == 'M') return PictureKind::Bmp;
    if (b.size() >= 3 && b[0] == 0xFF && b[1] == 0xD8 && b[2] == 0xFF) return PictureKind::Jpeg;
    if (b.size() >= 8 && b[0] == 0x89 && b[1] == 'P' && b[2] == 'N') return PictureKind::Png;
    return PictureKind::Unknown;
}

Image decodeByKind(std::span<const std::uint8_t> bytes, const std::string& what) {
    switch (pictureKind(bytes)) {
        case PictureKind::Bmp: return decodeBmp(bytes, what);
        case PictureKind::Jpeg: return decodeJpeg(bytes, what);
        case PictureKind::Png: return decodePng(bytes, what);
        case PictureKind::Unknown: break;
    }
    throw Error(tr("Unknown picture file extension or format: %s", what));
}

// Big-endian 16 bits at AT.
int be16(std::span<const std::uint8_t> b, std::size_t at) {
    return (b[at] << 8) | b[at + 1];
}

// A BMP's size from its header, as the decoder reads it.
Rect bmpBounds(std::span<const std::uint8_t> b) {
    try {
        const std::string what = "picture";
        const BmpHeader h = readBmpHeader(BmpReader{b, what});
        return Rect{0, 0, int(h.width), int(h.height)};
    } catch (const Error&) {
        return Rect{};
    }
}

// A JPEG's size from its frame header (SOF0 to SOF15, without DHT, JPG and DAC), walking the
// marker segments before it.
Rect jpegBounds(std::span<const std::uint8_t> b) {
    std::size_t at = 2;
    while (at + 9 < b.size()) {
        if (b[at] != 0xFF) return Rect{};
        const std::uint8_t marker = b[at + 1];
        if (marker == 0xFF) {  // fill byte
            ++at;
            continue;
        }
        const std::size_t length = std::size_t(be16(b, at + 2));
        if (marker >= 0xC0 && marker <= 0xCF && marker != 0xC4 && marker != 0xC8 && marker != 0xCC)
            return Rect{0, 0, be16(b, at + 7), be16(b, at + 5)};
        if (length < 2) return Rect{};
        at += 2 + length;
    }
    return Rect{};
}

// A PNG's size from its first chunk, IHDR.
Rect pngBounds(std::span<const std::uint8_t> b) {
    if (b.size() < 24 || b[12] != 'I' || b[13] != 'H' || b[14] != 'D' || b[15] != 'R')
        return Rect{};
    auto be32 = [&](std::size_t at) {
        return (std::uint32_t(be16(b, at)) << 16) | std::uint32_t(be16(b, at + 2));
    };
    const std::uint32_t w = be32(16), h = be32(20);
    // Beyond the limit, and so beyond what an int holds, is no size at all.
    if (w > std::uint32_t(kMaxPictureSide) || h > std::uint32_t(kMaxPictureSide)) return Rect{};
    return Rect{0, 0, int(w), int(h)};
}

}  // namespace

Rect pictureBounds(std::span<const std::uint8_t> bytes) {
    Rect r;
    switch (pictureKind(bytes)) {
        case PictureKind::Bmp: r = bmpBounds(bytes); break;
        case PictureKind::Jpeg: r = jpegBounds(bytes); break;
        case PictureKind::Png: r = pngBounds(bytes); break;
        case PictureKind::Unknown: break;
    }
    if (r.w <= 0 || r.h <= 0 || r.w > kMaxPictureSide || r.h > kMaxPictureSide) return Rect{};
    return r;
}

void setEmbeddedBlob(std::span<const std::uint8_t> blob) {
    embeddedBlob = blob;
}

Image decodePicture(std::span<const std::uint8_t> bytes, const std::string& what) {
    Image image = decodeByKind(bytes, what);
    handBackEmbeddedPages(bytes);
    return image;
}

namespace {

std::string& pictureFolder() {
    static std::string folder;
    return folder;
}

}  // namespace

void setPictureFolder(const std::string& folder) {
    pictureFolder() = folder;
}

std::string localizedPicturePath(const std::string& name) {
    const std::string& folder = pictureFolder();
    if (folder.empty() || name.empty() || name.find('/') != std::string::npos) return name;
    const std::string local = folder + "/" + name;
    struct stat st {};
    return ::stat(local.c_str(), &st) == 0 && S_ISREG(st.st_mode) ? local : name;
}

namespace {
EmbeddedLookup embeddedLookup = nullptr;
}

void setEmbeddedLookup(EmbeddedLookup lookup) {
    embeddedLookup = lookup;
}

std::span<const std::uint8_t> embeddedBytes(const std::string& name) {
    const std::string local = localizedPicturePath(name);
    if (local != name) {
        // Read once and kept for the whole run, as the embedded pictures are.
        static std::map<std::string, std::vector<std::uint8_t>> files;
        auto it = files.find(local);
        if (it == files.end()) it = files.emplace(local, readFileBytes(local)).first;
        return std::span<const std::uint8_t>(it->second.data(), it->second.size());
    }
    std::span<const std::uint8_t> found;
    if (embeddedLookup) found = embeddedLookup(name);
    if (found.empty()) throw Error(tr("Resource %s not found", name));
    return found;
}

Image loadEmbeddedPicture(const std::string& name) {
    return decodePicture(embeddedBytes(name), name);
}

namespace {

struct LeftOut {
    std::set<std::string> said;
    std::vector<std::string> pending;
};

LeftOut& leftOut() {
    static LeftOut pictures;
    return pictures;
}

}  // namespace

void pictureLeftOut(const std::string& what, const std::exception& why) {
    try {
        // Out of memory, the library's own words ("std::bad_alloc") would tell a player nothing.
        std::string message = dynamic_cast<const std::bad_alloc*>(&why)
                                  ? tr("Not enough memory to show the picture %s.", what)
                                  : std::string(why.what());
        LeftOut& pictures = leftOut();
        if (pictures.said.insert(message).second) pictures.pending.push_back(std::move(message));
    } catch (const std::exception&) {
        // Too little memory even for the words: the picture is left out unsaid.
    }
}

std::vector<std::string> takePicturesLeftOut() {
    return std::exchange(leftOut().pending, {});
}

}  // namespace tk
