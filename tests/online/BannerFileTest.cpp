// The info banner's file: fetched from a real HTTP server on the loopback address, its
// settings, a count below 1 and a failed download. (Messages shown in turn and the links
// they open are checked on the banner strip, AdBtnTest.cpp.)

#include "online/BannerFile.h"
#include "online/BannerLink.h"
#include "online/BannerRotation.h"
#include "tests/online/LoopbackTest.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <vector>

namespace {

std::vector<std::int32_t> Ticks(online::BannerRotation rotation, int ticks) {
    std::vector<std::int32_t> shown;
    for (int tick = 0; tick < ticks; ++tick) {
        shown.push_back(rotation.Advance());
    }
    return shown;
}

class BannerFileTest : public onlinetest::LoopbackTest {
protected:
    void SetUp() override {
        LoopbackTest::SetUp();
        std::filesystem::create_directory(m_temp.File("showinfo"));
    }

    online::BannerSettings Fetch(const std::string& language) const {
        return online::FetchBanner(online::BannerServerUrl(m_server.Address(), language),
                                   online::BannerLocalPath(m_temp.Path(), language));
    }
};

TEST_F(BannerFileTest, CountDecidesWhetherTheBannerRotates) {
    struct Case {
        std::string file;
        bool rotating;
        std::int32_t count;
        std::int32_t timeMs;
    };
    const std::vector<Case> cases = {
        {"[Info Set]\nCount=0\nTime=10\n", false, 0, 10},
        {"[Info Set]\nTime=10\n", false, 0, 10},
        {"[Info Set]\nCount=00\n", true, 0, 3500},
        {"[Info Set]\nCount=-4\nTime=x\n", true, -4, 0},
        {"[Info Set]\nCount= 2 messages\nTime=99999999999\n", true, 2, 2147483647},
    };
    for (const Case& test : cases) {
        const std::string path = m_temp.Write("showinfo/case.ini", test.file);
        const online::BannerSettings settings = online::ReadBannerSettings(path);
        EXPECT_EQ(settings.rotating, test.rotating) << test.file;
        EXPECT_EQ(settings.count, test.count) << test.file;
        EXPECT_EQ(settings.timeMs, test.timeMs) << test.file;
    }
    // A count below 1 that is not exactly "0" shows message 1 on every tick.
    EXPECT_EQ(Ticks(online::BannerRotation(0), 3), (std::vector<std::int32_t>{1, 1, 1}));
}

TEST_F(BannerFileTest, FailedDownloadKeepsTheLastFileAndAnEmptyLanguageNameStillWorks) {
    m_temp.Write("showinfo/eng.ini", "[Info Set]\nCount=2\n");
    EXPECT_EQ(Fetch("eng").count, 2); // the server has no such file

    m_server.Serve("//showinfo//sondrel//.ini", "[Info Set]\nCount=5\n");
    EXPECT_EQ(online::BannerLocalPath(m_temp.Path(), ""), m_temp.File("showinfo/.ini"));
    EXPECT_EQ(Fetch("").count, 5);
}

} // namespace
