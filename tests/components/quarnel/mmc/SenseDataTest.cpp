// Fixed and descriptor sense, progress indication, and sense that is cut
// short or lies about its length.
#include "components/quarnel/mmc/SenseData.h"

#include <gtest/gtest.h>

#include <vector>

namespace quarnel {
namespace {

std::vector<std::uint8_t> Fixed(std::uint8_t key, std::uint8_t asc, std::uint8_t ascq) {
    std::vector<std::uint8_t> bytes(18, 0);
    bytes[0] = 0xF0; // valid bit set, current error
    bytes[2] = key;
    bytes[7] = 10;
    bytes[12] = asc;
    bytes[13] = ascq;
    return bytes;
}

TEST(SenseData, FixedFormatConditions) {
    EXPECT_TRUE(DecodeSense(Fixed(2, 0x3A, 0x01)).NoMedium());
    EXPECT_TRUE(DecodeSense(Fixed(2, 0x04, 0x01)).BecomingReady());
    EXPECT_TRUE(DecodeSense(Fixed(2, 0x04, 0x07)).OperationInProgress());
    EXPECT_TRUE(DecodeSense(Fixed(2, 0x04, 0x08)).LongWriteInProgress());
    EXPECT_TRUE(DecodeSense(Fixed(2, 0x04, 0x08)).Busy());
    EXPECT_FALSE(DecodeSense(Fixed(2, 0x3A, 0x00)).Busy());
    EXPECT_TRUE(DecodeSense(Fixed(5, 0x21, 0x02)).InvalidAddressForWrite());
    EXPECT_FALSE(DecodeSense(Fixed(5, 0x21, 0x00)).InvalidAddressForWrite());
    EXPECT_TRUE(DecodeSense(Fixed(5, 0x21, 0x00)).AddressOutOfRange());
    EXPECT_TRUE(DecodeSense(Fixed(5, 0x24, 0x00)).InvalidFieldInCdb());
    EXPECT_TRUE(DecodeSense(Fixed(5, 0x20, 0x00)).InvalidCommand());
    EXPECT_TRUE(DecodeSense(Fixed(5, 0x2C, 0x00)).CommandSequenceError());
    EXPECT_TRUE(DecodeSense(Fixed(5, 0x30, 0x05)).IncompatibleMedium());
    EXPECT_TRUE(DecodeSense(Fixed(3, 0x0C, 0x09)).Underrun());
    EXPECT_TRUE(DecodeSense(Fixed(6, 0x28, 0x00)).MediumMayHaveChanged());
    EXPECT_TRUE(DecodeSense(Fixed(6, 0x29, 0x00)).UnitAttention());
    EXPECT_FALSE(DecodeSense(Fixed(2, 0x28, 0x00)).UnitAttention());
    // The key is the low nibble; ILI/EOM/filemark bits above it are ignored.
    EXPECT_EQ(DecodeSense(Fixed(0xE5, 0x24, 0)).key, 5);
}

TEST(SenseData, FixedProgressDuringBlank) {
    auto bytes = Fixed(2, 0x04, 0x07);
    bytes[15] = 0x80;
    bytes[16] = 0x40;
    bytes[17] = 0x00;
    const SenseData data = DecodeSense(bytes);
    EXPECT_TRUE(data.progressValid);
    EXPECT_EQ(data.progress, 0x4000); // a quarter done
    bytes[15] = 0x00;                 // SKSV clear: the field means nothing
    EXPECT_FALSE(DecodeSense(bytes).progressValid);
}

TEST(SenseData, ProgressNeedsTheDeclaredLength) {
    auto bytes = Fixed(2, 0x04, 0x07);
    bytes[15] = 0x80;
    bytes[16] = 0x12;
    bytes[7] = 6; // claims to end at byte 13
    const SenseData data = DecodeSense(bytes);
    EXPECT_TRUE(data.OperationInProgress());
    EXPECT_FALSE(data.progressValid);
}

TEST(SenseData, DeferredErrorsAreMarked) {
    auto bytes = Fixed(3, 0x0C, 0x09);
    bytes[0] = 0x71;
    const SenseData data = DecodeSense(bytes);
    EXPECT_TRUE(data.deferred);
    EXPECT_TRUE(data.Underrun());
}

TEST(SenseData, DescriptorFormatWithProgress) {
    // 72h, key 2, 04/04, one sense-key specific descriptor (type 02h, 6 bytes).
    const std::vector<std::uint8_t> bytes = {0x72, 0x02, 0x04, 0x04, 0,    0,    0,    8,
                                             0x02, 0x06, 0,    0,    0x80, 0xC0, 0x00, 0};
    const SenseData data = DecodeSense(bytes);
    EXPECT_TRUE(data.valid);
    EXPECT_FALSE(data.deferred);
    EXPECT_TRUE(data.FormatInProgress());
    EXPECT_TRUE(data.progressValid);
    EXPECT_EQ(data.progress, 0xC000);
}

TEST(SenseData, DescriptorLongerThanDeliveredIsIgnored) {
    const std::vector<std::uint8_t> bytes = {0x73, 0x02, 0x04, 0x08, 0, 0,    0,
                                             200,  0x02, 0xF0, 0,    0, 0x80, 0xC0};
    const SenseData data = DecodeSense(bytes);
    EXPECT_TRUE(data.deferred);
    EXPECT_TRUE(data.LongWriteInProgress());
    EXPECT_FALSE(data.progressValid);
}

TEST(SenseData, ShortAndUnknownSense) {
    EXPECT_FALSE(DecodeSense({}).valid);
    const std::vector<std::uint8_t> vendor = {0x7F, 0, 2, 0, 0, 0, 0, 10};
    EXPECT_FALSE(DecodeSense(vendor).valid);
    const std::vector<std::uint8_t> twoBytes = {0x70, 0};
    EXPECT_FALSE(DecodeSense(twoBytes).valid);
    // Key delivered, code and qualifier not: a valid but unspecific sense.
    const std::vector<std::uint8_t> keyOnly = {0x70, 0, 0x02, 0, 0, 0, 0, 10};
    const SenseData data = DecodeSense(keyOnly);
    EXPECT_TRUE(data.valid);
    EXPECT_EQ(data.key, 2);
    EXPECT_EQ(data.asc, 0);
    EXPECT_FALSE(data.NoMedium());
}

TEST(SenseData, UnderstatedAdditionalLengthStillGivesTheCode) {
    auto bytes = Fixed(2, 0x3A, 0);
    bytes[7] = 0;
    EXPECT_TRUE(DecodeSense(bytes).NoMedium());
}

} // namespace
} // namespace quarnel
