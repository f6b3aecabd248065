#include "tests/components/vesplin/ToneSignal.h"

#include <algorithm>
#include <cmath>
#include <limits>
#include <numbers>

namespace vesplintest {

namespace {

constexpr double kToneAmplitude = 0.3 * 32767.0;

double Sample(const std::vector<std::int16_t>& pcm, long frame, int channel) {
    return pcm[static_cast<std::size_t>(frame) * 2 + static_cast<std::size_t>(channel)];
}

} // namespace

std::vector<std::int16_t> MakeToneSignal(std::size_t frames) {
    std::vector<std::int16_t> pcm(frames * 2);
    for (std::size_t i = 0; i < frames; ++i) {
        const double t = static_cast<double>(i) / kSampleRateHz;
        double left = 0.0;
        double right = 0.0;
        for (const double f : kLeftTonesHz) {
            left += kToneAmplitude * std::sin(2.0 * std::numbers::pi * f * t);
        }
        for (const double f : kRightTonesHz) {
            right += kToneAmplitude * std::sin(2.0 * std::numbers::pi * f * t);
        }
        pcm[2 * i] = static_cast<std::int16_t>(std::lround(left));
        pcm[2 * i + 1] = static_cast<std::int16_t>(std::lround(right));
    }
    return pcm;
}

std::vector<std::uint8_t> AsBytes(const std::vector<std::int16_t>& pcm) {
    std::vector<std::uint8_t> bytes(pcm.size() * 2);
    for (std::size_t i = 0; i < pcm.size(); ++i) {
        const auto value = static_cast<std::uint16_t>(pcm[i]);
        bytes[2 * i] = static_cast<std::uint8_t>(value & 0xFF);
        bytes[2 * i + 1] = static_cast<std::uint8_t>(value >> 8);
    }
    return bytes;
}

double TonePower(const std::vector<std::int16_t>& pcm, int channel, std::size_t firstFrame,
                 std::size_t frames, double frequencyHz) {
    const double coefficient = 2.0 * std::cos(2.0 * std::numbers::pi * frequencyHz / kSampleRateHz);
    double previous = 0.0;
    double beforePrevious = 0.0;
    for (std::size_t i = firstFrame; i < firstFrame + frames; ++i) {
        const double current =
            Sample(pcm, static_cast<long>(i), channel) + coefficient * previous - beforePrevious;
        beforePrevious = previous;
        previous = current;
    }
    const double power = previous * previous + beforePrevious * beforePrevious -
                         coefficient * previous * beforePrevious;
    const double amplitude = 2.0 * std::sqrt(std::max(power, 0.0)) / static_cast<double>(frames);
    return (amplitude / 32768.0) * (amplitude / 32768.0);
}

long BestLagFrames(const std::vector<std::int16_t>& original,
                   const std::vector<std::int16_t>& decoded, long maxLagFrames) {
    const long span = static_cast<long>(kSampleRateHz);
    const long originalFrames = static_cast<long>(original.size() / 2);
    const long decodedFrames = static_cast<long>(decoded.size() / 2);
    long best = 0;
    double bestError = std::numeric_limits<double>::max();
    for (long lag = -maxLagFrames; lag <= maxLagFrames; ++lag) {
        double error = 0.0;
        for (long i = maxLagFrames; i < span + maxLagFrames; ++i) {
            if (i >= originalFrames || i + lag >= decodedFrames) {
                break;
            }
            const double difference = Sample(original, i, 0) - Sample(decoded, i + lag, 0);
            error += difference * difference;
        }
        if (error < bestError) {
            bestError = error;
            best = lag;
        }
    }
    return best;
}

double WorstWindowSnrDb(const std::vector<std::int16_t>& original,
                        const std::vector<std::int16_t>& decoded, long lagFrames,
                        std::size_t windowFrames, std::size_t edgeFrames) {
    const long originalFrames = static_cast<long>(original.size() / 2);
    const long decodedFrames = static_cast<long>(decoded.size() / 2);
    const long first = static_cast<long>(edgeFrames) + std::max(0L, -lagFrames);
    const long end =
        std::min(originalFrames, decodedFrames - lagFrames) - static_cast<long>(edgeFrames);
    double worst = std::numeric_limits<double>::max();
    const auto window = static_cast<long>(windowFrames);
    for (long start = first; start + window <= end; start += window) {
        double signal = 0.0;
        double error = 0.0;
        for (long i = start; i < start + window; ++i) {
            for (int channel = 0; channel < 2; ++channel) {
                const double wanted = Sample(original, i, channel);
                const double difference = wanted - Sample(decoded, i + lagFrames, channel);
                signal += wanted * wanted;
                error += difference * difference;
            }
        }
        worst = std::min(worst, 10.0 * std::log10(signal / std::max(error, 1.0)));
    }
    return worst;
}

} // namespace vesplintest
