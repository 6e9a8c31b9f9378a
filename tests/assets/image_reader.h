#pragma once
// Small readers for checking the forge's output.

#include <cstdint>
#include <string>
#include <vector>

namespace forge_test {

// Decoded picture, always four bytes (RGBA) per pixel.
struct Image {
    int width = 0;
    int height = 0;
    int channels = 0;  // in the file: 3 (RGB) or 4 (RGBA)
    std::vector<unsigned char> rgba;
    const unsigned char* at(int x, int y) const {
        return &rgba[(static_cast<std::size_t>(y) * width + x) * 4];
    }
    int alpha(int x, int y) const { return at(x, y)[3]; }
};

// Empty image (width 0) when the file is missing or broken.
Image readPng(const std::string& path);
Image readJpeg(const std::string& path);
std::vector<unsigned char> readFile(const std::string& path);

std::uint32_t le32(const std::vector<unsigned char>& b, std::size_t at);
std::uint16_t le16(const std::vector<unsigned char>& b, std::size_t at);

}  // namespace forge_test
