// Pictures in memory and the decoders for the file formats the game uses.
#pragma once

#include <cstddef>
#include <cstdint>
#include <exception>
#include <span>
#include <string>
#include <vector>

#include "toolkit/geometry.h"

namespace tk {

// A picture of ARGB pixels with straight alpha, row by row from the top.
class Image {
  public:
    Image() = default;
    Image(int width, int height, Argb fill = 0);

    int width() const { return w_; }
    int height() const { return h_; }
    bool empty() const { return w_ <= 0 || h_ <= 0; }
    // The pixel at (x, y); 0 (transparent black) outside the picture.
    Argb pixel(int x, int y) const {
        return (x >= 0 && y >= 0 && x < w_ && y < h_) ? px_[std::size_t(y) * w_ + x] : 0;
    }
    // Sets one pixel; outside the picture nothing happens.
    void setPixel(int x, int y, Argb c) {
        if (x >= 0 && y >= 0 && x < w_ && y < h_) px_[std::size_t(y) * w_ + x] = c;
    }
    Argb* row(int y) { return px_.data() + std::size_t(y) * w_; }
    const Argb* row(int y) const { return px_.data() + std::size_t(y) * w_; }
    std::vector<Argb>& pixels() { return px_; }
    const std::vector<Argb>& pixels() const { return px_; }
    // The part of this picture inside R, clipped to the picture.
    Image crop(Rect r) const;
    // Gives the picture the size WIDTH x HEIGHT, keeping its storage when that is large enough
    // (for a buffer that is drawn over whole each time it is used); the pixels are undefined.
    void reshape(int width, int height);

  private:
    int w_ = 0, h_ = 0;
    std::vector<Argb> px_;
};

// The largest picture any decoder accepts; a header claiming more is refused before decoding.
constexpr int kMaxPictureSide = 8192;
constexpr long long kMaxPictureBytes = 256LL * 1024 * 1024;

// Decoders: each throws tk::Error with a readable message when the data is not a whole picture
// or its header claims more than the limits above.
Image decodePng(std::span<const std::uint8_t> bytes, const std::string& what);
Image decodeJpeg(std::span<const std::uint8_t> bytes, const std::string& what);
Image decodeBmp(std::span<const std::uint8_t> bytes, const std::string& what);

// Decodes a BMP, JPEG or PNG picture told apart by its first bytes; WHAT names it in errors.
Image decodePicture(std::span<const std::uint8_t> bytes, const std::string& what);
// The picture's rectangle (at the origin, as wide and high as its file's header says) without
// decoding its pixels; empty when the header cannot be read (a decode then says why).
Rect pictureBounds(std::span<const std::uint8_t> bytes);

// Where the pictures carried inside the program are found: the program hands the toolkit a
// lookup at start. It answers the bytes stored under a name, or an empty span when there are none.
using EmbeddedLookup = std::span<const std::uint8_t> (*)(const std::string& name);
void setEmbeddedLookup(EmbeddedLookup lookup);
// Where the embedded pictures lie: read-only memory mapped from the program's own file. Once a
// picture from there is decoded, the pages of its file's bytes are handed back to the system,
// which reads them from the file again should they be decoded anew.
void setEmbeddedBlob(std::span<const std::uint8_t> blob);

// Pictures with words come in one folder per language beside the English files: FOLDER ("" for
// English) is the one that bare picture names look in first.
void setPictureFolder(const std::string& folder);
// The file to read for the picture file NAME: the language folder's copy of a bare name when
// there is one, else NAME itself.
std::string localizedPicturePath(const std::string& name);

// The bytes of the picture embedded under NAME (or of the language folder's file of that name,
// which stands in for it); throws tk::Error when there is none (or no lookup was
// handed over).
std::span<const std::uint8_t> embeddedBytes(const std::string& name);

// A picture embedded in the program under NAME (PNG or JPEG). Throws tk::Error when there is
// no such picture or it does not decode.
Image loadEmbeddedPicture(const std::string& name);

// The picture as the bytes of a PNG file (opaque pixels keep their alpha), for a caller that
// opens the file itself; empty on failure.
std::vector<std::uint8_t> encodePng(const Image& image);

// A picture that could not be decoded or drawn (memory ran out, say) is left out where it would
// have been. WHAT names it, WHY is what went wrong. Each failure is said once in a run: the
// application takes the new ones and shows them (takePicturesLeftOut). Never throws.
void pictureLeftOut(const std::string& what, const std::exception& why);
// The messages of the pictures left out since the last call that were not said before.
std::vector<std::string> takePicturesLeftOut();

// Reads a whole file; throws tk::Error naming the file when it cannot be read or is not a
// regular file (a folder or a pipe in its place).
std::vector<std::uint8_t> readFileBytes(const std::string& path);
// Whether PATH names a regular file (through links), found without opening it: a pipe in a
// sound's place must not hang the game in the library's open.
bool isRegularFile(const std::string& path);

}  // namespace tk
