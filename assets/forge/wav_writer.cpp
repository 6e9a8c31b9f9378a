#include <cstdint>

#include "assets/forge/image_writers.h"

namespace forge {

void writeWavFile(const std::string& path, int sampleRate, int channels,
                  const std::vector<std::int16_t>& samples) {
    std::vector<unsigned char> out;
    out.reserve(44 + samples.size() * 2);
    auto put16 = [&](std::uint32_t v) {
        out.push_back(static_cast<unsigned char>(v & 0xff));
        out.push_back(static_cast<unsigned char>((v >> 8) & 0xff));
    };
    auto put32 = [&](std::uint32_t v) {
        put16(v & 0xffff);
        put16(v >> 16);
    };
    auto tag = [&](const char* t) {
        for (int i = 0; i < 4; ++i) out.push_back(static_cast<unsigned char>(t[i]));
    };
    const auto dataBytes = static_cast<std::uint32_t>(samples.size() * 2);
    const auto rate = static_cast<std::uint32_t>(sampleRate);
    const auto ch = static_cast<std::uint32_t>(channels);
    tag("RIFF");
    put32(36 + dataBytes);
    tag("WAVE");
    tag("fmt ");
    put32(16);
    put16(1);  // PCM
    put16(ch);
    put32(rate);
    put32(rate * ch * 2);
    put16(ch * 2);
    put16(16);
    tag("data");
    put32(dataBytes);
    for (std::int16_t s : samples) put16(static_cast<std::uint16_t>(s));
    writeBinaryFile(path, out);
}

}  // namespace forge
