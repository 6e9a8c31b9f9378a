#pragma once
// Loudness as listeners and broadcast meters hear it (ITU-R BS.1770): the
// signal is K-weighted (a high shelf for the head, a low cut for small
// speakers) and its mean square read in 400 ms blocks.

#include <vector>

namespace forge {

// Per-channel sample streams, full scale +-1.
using Channels = std::vector<std::vector<double>>;

// Loudest 400 ms (LUFS), read every 100 ms from the start, the sound followed
// by silence: the figure a meter shows for a short effect.
double momentaryMaxLufs(const Channels& channels, int rate);
// Integrated loudness (LUFS) with the absolute (-70) and relative (-10 LU) gates.
double integratedLufs(const Channels& channels, int rate);
// True peak (dBTP): the highest level between the samples as well, read from
// the signal upsampled four times, as a converter would rebuild it.
double truePeakDb(const Channels& channels);

}  // namespace forge
