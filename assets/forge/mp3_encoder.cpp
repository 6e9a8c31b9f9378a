#include <lame/lame.h>

#include <algorithm>
#include <cstring>
#include <stdexcept>

#include "assets/forge/score.h"

namespace forge {

std::vector<unsigned char> encodeMp3(const std::vector<std::int16_t>& stereo, int rate) {
    lame_global_flags* gf = lame_init();
    if (!gf) throw std::runtime_error("lame_init failed");
    lame_set_in_samplerate(gf, rate);
    lame_set_out_samplerate(gf, rate);
    lame_set_num_channels(gf, 2);
    lame_set_mode(gf, JOINT_STEREO);
    lame_set_VBR(gf, vbr_off);
    lame_set_brate(gf, 128);
    lame_set_quality(gf, 7);
    lame_set_write_id3tag_automatic(gf, 0);
    // LAME keeps room for the Info frame at the start; we fill it in below.
    lame_set_bWriteVbrTag(gf, 1);
    if (lame_init_params(gf) < 0) {
        lame_close(gf);
        throw std::runtime_error("lame_init_params failed");
    }

    std::vector<unsigned char> out;
    const std::size_t frames = stereo.size() / 2;
    const std::size_t chunk = 16384;
    std::vector<unsigned char> buf(chunk * 5 / 4 + 7200);
    for (std::size_t pos = 0; pos < frames; pos += chunk) {
        const int n = static_cast<int>(std::min(chunk, frames - pos));
        const int bytes =
            lame_encode_buffer_interleaved(gf, const_cast<short*>(stereo.data() + pos * 2), n,
                                           buf.data(), static_cast<int>(buf.size()));
        if (bytes < 0) {
            lame_close(gf);
            throw std::runtime_error("lame_encode_buffer_interleaved failed");
        }
        out.insert(out.end(), buf.begin(), buf.begin() + bytes);
    }
    const int tail = lame_encode_flush(gf, buf.data(), static_cast<int>(buf.size()));
    if (tail > 0) out.insert(out.end(), buf.begin(), buf.begin() + tail);

    unsigned char tag[8192];
    const std::size_t tagBytes = lame_get_lametag_frame(gf, tag, sizeof tag);
    if (tagBytes > 0 && tagBytes <= out.size()) std::memcpy(out.data(), tag, tagBytes);
    lame_close(gf);
    return out;
}

}  // namespace forge
