#include "components/vesplin/Mp3Settings.h"
#include "tests/support/TempFolder.h"

#include <gtest/gtest.h>

using vesplin::Mp3Mode;

namespace {

// Each row: the settings file's text and the mode, bit rate and quality read from it. Values
// out of range fall back one by one to the defaults (CBR, 192 kbit/s, quality 2).
TEST(Mp3SettingsTest, ValidValuesAreTakenAndOthersFallBackOneByOne) {
    struct Row {
        const char* text;
        Mp3Mode mode;
        int bitRateKbps;
        int vbrQuality;
    };
    const Row rows[] = {
        {"[Language Set]\nlangsel=2\n", Mp3Mode::Cbr, 192, 2},
        {"[Mp3]\n", Mp3Mode::Cbr, 192, 2},
        {"[mp3]\nmode = vbr\nVbrQuality=0\nBitRate=320\n", Mp3Mode::Vbr, 320, 0},
        {"[Mp3]\nMode=CBR\nBitRate=32\nVbrQuality=9\n", Mp3Mode::Cbr, 32, 9},
        // 191 is no Layer III rate; 10 is beyond the quality scale.
        {"[Mp3]\nMode=VBR\nBitRate=191\nVbrQuality=10\n", Mp3Mode::Vbr, 192, 2},
        {"[Mp3]\nMode=ABR\nBitRate=12x\nVbrQuality=-1\n", Mp3Mode::Cbr, 192, 2},
        {"[Mp3]\nMode=\nBitRate=\nVbrQuality=\n", Mp3Mode::Cbr, 192, 2},
        {"[Mp3]\nBitRate=99999999999999999999\nVbrQuality=2.5\n", Mp3Mode::Cbr, 192, 2},
    };
    testsupport::TempFolder folder;
    for (const Row& row : rows) {
        const vesplin::Mp3Settings settings =
            vesplin::ReadMp3Settings(folder.Write("SoftSet.ini", row.text));
        EXPECT_EQ(settings.mode, row.mode) << row.text;
        EXPECT_EQ(settings.bitRateKbps, row.bitRateKbps) << row.text;
        EXPECT_EQ(settings.vbrQuality, row.vbrQuality) << row.text;
    }
    EXPECT_EQ(vesplin::ReadMp3Settings(folder.File("missing.ini")).bitRateKbps, 192);
}

} // namespace
