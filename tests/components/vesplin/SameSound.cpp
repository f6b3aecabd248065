#include "tests/components/vesplin/SameSound.h"

#include "tests/components/vesplin/ToneSignal.h"

#include <gtest/gtest.h>

#include <cstdlib>

namespace vesplintest {

void ExpectSameSound(const std::vector<std::int16_t>& original, const DecodedMp3& decoded) {
    ASSERT_TRUE(decoded.decoded);
    EXPECT_EQ(decoded.rateHz, 44100);
    EXPECT_EQ(decoded.channels, 2);
    const auto originalFrames = static_cast<long>(original.size() / 2);
    EXPECT_LE(std::labs(static_cast<long>(decoded.Frames()) - originalFrames),
              static_cast<long>(kMp3FrameSamples));
    ASSERT_GT(decoded.Frames(), 3 * 44100u);
    const std::size_t second = 44100;
    for (const double f : kLeftTonesHz) {
        EXPECT_GT(TonePower(decoded.pcm, 0, second, second, f), 0.05) << f << " Hz left";
        EXPECT_LT(TonePower(decoded.pcm, 1, second, second, f), 1e-4) << f << " Hz in right";
    }
    for (const double f : kRightTonesHz) {
        EXPECT_GT(TonePower(decoded.pcm, 1, second, second, f), 0.05) << f << " Hz right";
        EXPECT_LT(TonePower(decoded.pcm, 0, second, second, f), 1e-4) << f << " Hz in left";
    }
    EXPECT_LT(TonePower(decoded.pcm, 0, second, second, kAbsentToneHz), 1e-4);
    const long lag = BestLagFrames(original, decoded.pcm, 2 * kMp3FrameSamples);
    EXPECT_EQ(lag, 0) << "the encoder delay was not removed exactly";
    EXPECT_GT(WorstWindowSnrDb(original, decoded.pcm, lag, kMp3FrameSamples, 2 * kMp3FrameSamples),
              20.0);
}

} // namespace vesplintest
