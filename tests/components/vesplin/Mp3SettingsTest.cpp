#include "components/vesplin/Mp3Settings.h"
#include "platform/profile/ProfileString.h"
#include "tests/support/TempFolder.h"

#include <gtest/gtest.h>

using vesplin::Mp3Mode;
using vesplin::Mp3Settings;
using vesplin::ReadMp3Settings;

namespace {

class Mp3SettingsTest : public ::testing::Test {
protected:
    Mp3Settings Read(std::string_view text) {
        return ReadMp3Settings(m_folder.Write("SoftSet.ini", text));
    }
    testsupport::TempFolder m_folder;
};

void ExpectDefaults(const Mp3Settings& settings) {
    EXPECT_EQ(settings.mode, Mp3Mode::Cbr);
    EXPECT_EQ(settings.bitRateKbps, 192);
    EXPECT_EQ(settings.vbrQuality, 2);
}

TEST_F(Mp3SettingsTest, MissingFileSectionOrKeysGiveTheDefaults) {
    ExpectDefaults(ReadMp3Settings(m_folder.File("missing.ini")));
    ExpectDefaults(Read("[Language Set]\nlangsel=2\n"));
    ExpectDefaults(Read("[Mp3]\n"));
}

TEST_F(Mp3SettingsTest, ValidValuesAreTaken) {
    const Mp3Settings vbr = Read("[mp3]\nmode = vbr\nVbrQuality=0\nBitRate=320\n");
    EXPECT_EQ(vbr.mode, Mp3Mode::Vbr);
    EXPECT_EQ(vbr.vbrQuality, 0);
    EXPECT_EQ(vbr.bitRateKbps, 320);
    const Mp3Settings cbr = Read("[Mp3]\nMode=CBR\nBitRate=32\nVbrQuality=9\n");
    EXPECT_EQ(cbr.mode, Mp3Mode::Cbr);
    EXPECT_EQ(cbr.bitRateKbps, 32);
    EXPECT_EQ(cbr.vbrQuality, 9);
}

TEST_F(Mp3SettingsTest, ValuesOutOfRangeFallBackOneByOne) {
    // 191 is no Layer III rate; 10 is beyond the quality scale.
    const Mp3Settings settings = Read("[Mp3]\nMode=VBR\nBitRate=191\nVbrQuality=10\n");
    EXPECT_EQ(settings.mode, Mp3Mode::Vbr);
    EXPECT_EQ(settings.bitRateKbps, 192);
    EXPECT_EQ(settings.vbrQuality, 2);
    ExpectDefaults(Read("[Mp3]\nMode=ABR\nBitRate=12x\nVbrQuality=-1\n"));
    ExpectDefaults(Read("[Mp3]\nMode=\nBitRate=\nVbrQuality=\n"));
    ExpectDefaults(Read("[Mp3]\nBitRate=99999999999999999999\nVbrQuality=2.5\n"));
}

TEST_F(Mp3SettingsTest, TheShippedSettingsFileNamesEveryKeyWithItsDefault) {
    const std::string shipped = std::string(SONDREL_SOURCE_DIR) + "/lang/data/SoftSet.ini";
    EXPECT_EQ(platform::GetPrivateProfileString("Mp3", "Mode", "", shipped), "CBR");
    EXPECT_EQ(platform::GetPrivateProfileString("Mp3", "BitRate", "", shipped), "192");
    EXPECT_EQ(platform::GetPrivateProfileString("Mp3", "VbrQuality", "", shipped), "2");
    ExpectDefaults(ReadMp3Settings(shipped));
}

} // namespace
