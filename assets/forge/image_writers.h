#pragma once
// File writers for straight (non-premultiplied) pixel rows, top row first.

#include <cstdint>
#include <string>
#include <vector>

namespace forge {

// CHANNELS is 3 (RGB) or 4 (RGBA).
void writePngFile(const std::string& path, int width, int height, int channels,
                  const std::vector<unsigned char>& pixels);
void writeJpegFile(const std::string& path, int width, int height,
                   const std::vector<unsigned char>& rgb, int quality);
// 24-bit BI_RGB, bottom-up rows padded to four bytes.
void writeBmpFile(const std::string& path, int width, int height,
                  const std::vector<unsigned char>& rgb);
// 16-bit PCM, interleaved when CHANNELS is 2.
void writeWavFile(const std::string& path, int sampleRate, int channels,
                  const std::vector<std::int16_t>& samples);
void writeBinaryFile(const std::string& path, const std::vector<unsigned char>& bytes);
void writeTextFile(const std::string& path, const std::string& text);

}  // namespace forge
