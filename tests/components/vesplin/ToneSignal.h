#pragma once
// A known stereo test signal for the encoder tests, and the measurements that
// find it again in decoded PCM: tone power (Goertzel) and the worst
// signal-to-error ratio over short windows, which shows any gap, repeat or
// lost sample where the stream was cut into chunks.

#include <cstddef>
#include <cstdint>
#include <vector>

namespace vesplintest {

constexpr double kSampleRateHz = 44100.0;
// Two tones on each channel, different on left and right, so that a swap or a
// misaligned sample pair shows. The frequencies have no short common period,
// so the sound matches a shifted copy of itself nowhere near.
constexpr double kLeftTonesHz[] = {437.1, 3119.3};
constexpr double kRightTonesHz[] = {1003.7, 5297.9};
// A frequency none of the tones is near.
constexpr double kAbsentToneHz = 2200.0;

// `frames` stereo sample pairs of the signal, interleaved.
std::vector<std::int16_t> MakeToneSignal(std::size_t frames);

// The signal's PCM as the bytes a capture buffer holds (little-endian).
std::vector<std::uint8_t> AsBytes(const std::vector<std::int16_t>& pcm);

// Power of `frequencyHz` in `channel` (0 left, 1 right) over `frames` pairs
// from `firstFrame`, as the squared amplitude relative to full scale.
double TonePower(const std::vector<std::int16_t>& pcm, int channel, std::size_t firstFrame,
                 std::size_t frames, double frequencyHz);

// The shift (in frames, within +-maxLagFrames) of `decoded` against
// `original` that matches them best over the first second.
long BestLagFrames(const std::vector<std::int16_t>& original,
                   const std::vector<std::int16_t>& decoded, long maxLagFrames);

// The lowest ratio, in dB, of signal to error power over windows of
// `windowFrames`, comparing `decoded` shifted by `lagFrames` with `original`,
// over the frames both have, leaving out `edgeFrames` at each end.
double WorstWindowSnrDb(const std::vector<std::int16_t>& original,
                        const std::vector<std::int16_t>& decoded, long lagFrames,
                        std::size_t windowFrames, std::size_t edgeFrames);

} // namespace vesplintest
