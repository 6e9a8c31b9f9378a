#include "image.h"

#include <SDL.h>
#include <jpeglib.h>
#include <png.h>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <csetjmp>
#include <cstdio>
#include <cstring>
#include <map>

#include "embedded_resources.h"
#include "error.h"

namespace tk {

Image::Image(int width, int height, Argb fill)
    : w_(width > 0 ? width : 0), h_(height > 0 ? height : 0),
      px_(std::size_t(w_) * std::size_t(h_), fill) {}

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
        throw Error(tr("Picture too large: %s", std::to_string(width) + " x " +
                                                     std::to_string(height)) +
                    tr(" pixels, at most %s", std::to_string(kMaxPictureSide) + " x " +
                                                  std::to_string(kMaxPictureSide) + " (" + what +
                                                  ")"));
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

void savePng(const Image& image, const std::string& path) {
    png_image png;
    std::memset(&png, 0, sizeof png);
    png.version = PNG_IMAGE_VERSION;
    png.width = png_uint_32(image.width());
    png.height = png_uint_32(image.height());
    png.format = PNG_FORMAT_BGRA;
    if (!png_image_write_to_file(&png, path.c_str(), 0, image.pixels().data(), 0, nullptr))
        throw Error(tr("Cannot create file \"%s\"", path));
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

// --- BMP, through SDL --------------------------------------------------------------------

Image decodeBmp(std::span<const std::uint8_t> bytes, const std::string& what) {
    // The size from the header: a 12-byte core header holds 16-bit sizes, the others 32-bit.
    auto le = [&](std::size_t at, int n) {
        std::uint32_t v = 0;
        for (int i = n - 1; i >= 0; --i) v = (v << 8) | bytes[at + std::size_t(i)];
        return v;
    };
    if (bytes.size() < 26) throw Error(tr("Bitmap image is not valid: %s", what));
    if (le(14, 4) == 12)
        checkPictureSize(le(18, 2), le(20, 2), what);
    else
        checkPictureSize(std::int32_t(le(18, 4)), std::int32_t(le(22, 4)), what);
    SDL_RWops* rw = SDL_RWFromConstMem(bytes.data(), int(bytes.size()));
    SDL_Surface* loaded = rw ? SDL_LoadBMP_RW(rw, 1) : nullptr;
    if (!loaded) throw Error(tr("Bitmap image is not valid: %s", what));
    SDL_Surface* argb = SDL_ConvertSurfaceFormat(loaded, SDL_PIXELFORMAT_ARGB8888, 0);
    SDL_FreeSurface(loaded);
    if (!argb) throw Error(tr("Bitmap image is not valid: %s", what));
    Image img(argb->w, argb->h);
    for (int y = 0; y < argb->h; ++y)
        std::memcpy(img.row(y), static_cast<const std::uint8_t*>(argb->pixels) + y * argb->pitch,
                    std::size_t(argb->w) * 4);
    SDL_FreeSurface(argb);
    return img;
}

Image decodePicture(std::span<const std::uint8_t> bytes, const std::string& what) {
    if (bytes.size() >= 2 && bytes[0] == 'B' && bytes[1] == 'M') return decodeBmp(bytes, what);
    if (bytes.size() >= 3 && bytes[0] == 0xFF && bytes[1] == 0xD8 && bytes[2] == 0xFF)
        return decodeJpeg(bytes, what);
    if (bytes.size() >= 8 && bytes[0] == 0x89 && bytes[1] == 'P' && bytes[2] == 'N')
        return decodePng(bytes, what);
    throw Error(tr("Unknown picture file extension or format: %s", what));
}

namespace {

std::string& pictureFolder() {
    static std::string folder;
    return folder;
}

}  // namespace

void setPictureFolder(const std::string& folder) { pictureFolder() = folder; }

std::string localizedPicturePath(const std::string& name) {
    const std::string& folder = pictureFolder();
    if (folder.empty() || name.empty() || name.find('/') != std::string::npos) return name;
    const std::string local = folder + "/" + name;
    struct stat st {};
    return ::stat(local.c_str(), &st) == 0 && S_ISREG(st.st_mode) ? local : name;
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
    const auto* file = lumcrest::assets::findEmbedded(name);
    if (!file) throw Error(tr("Resource %s not found", name));
    return std::span<const std::uint8_t>(file->data, file->size);
}


Image loadEmbeddedPicture(const std::string& name) {
    return decodePicture(embeddedBytes(name), name);
}

}  // namespace tk
