// Bitmap files built byte by byte, for the tests of the BMP decoder.
#pragma once

#include <cstdint>
#include <vector>

namespace bmp_bytes {

using Bytes = std::vector<std::uint8_t>;

// Appends V as N little-endian bytes.
inline void put(Bytes& b, std::uint32_t v, int n) {
    for (int i = 0; i < n; ++i) b.push_back(std::uint8_t(v >> (8 * i)));
}

// A BMP with a 40-byte header (plus MASKS after it), PALETTE entries and the rows in ROWS as
// stored (bottom row first unless HEIGHT is negative), each already padded.
inline Bytes bmp(int width, int height, int bits, std::uint32_t compression,
                 const std::vector<std::uint32_t>& masks, const std::vector<std::uint32_t>& palette,
                 const Bytes& rows) {
    Bytes b = {'B', 'M'};
    std::uint32_t dataAt = 14 + 40 + 4 * std::uint32_t(masks.size() + palette.size());
    put(b, dataAt + std::uint32_t(rows.size()), 4);
    put(b, 0, 4);
    put(b, dataAt, 4);
    put(b, 40, 4);
    put(b, std::uint32_t(width), 4);
    put(b, std::uint32_t(height), 4);
    put(b, 1, 2);
    put(b, std::uint32_t(bits), 2);
    put(b, compression, 4);
    put(b, std::uint32_t(rows.size()), 4);
    put(b, 2835, 4);
    put(b, 2835, 4);
    put(b, std::uint32_t(palette.size()), 4);
    put(b, 0, 4);
    for (std::uint32_t m : masks) put(b, m, 4);
    for (std::uint32_t p : palette) put(b, p, 4);
    b.insert(b.end(), rows.begin(), rows.end());
    return b;
}

}  // namespace bmp_bytes
