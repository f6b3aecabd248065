// Downloads from servers that answer with error pages, lie about lengths, send
// far too much or drip, against a real HTTP server on the loopback address;
// and the banner's folder where the program folder has none or is read-only.

#include "online/BannerFile.h"
#include "online/DownloadFile.h"
#include "tests/online/LoopbackTest.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <optional>
#include <sys/mount.h>
#include <unistd.h>

namespace {

using Reply = testsupport::LocalHttpServer::Reply;
namespace fs = std::filesystem;

class HostileServerTest : public onlinetest::LoopbackTest {
protected:
    bool Download(const std::string& path, const online::DownloadLimits& limits) const {
        return online::DownloadFile(m_server.Address() + path, m_temp.File("local"), limits);
    }
    bool LocalKept() const { return fs::exists(m_temp.File("local")); }
};

TEST_F(HostileServerTest, ErrorPagesAndOversizedOrLongerBodiesKeepNothing) {
    const std::string page(3000, 'x');
    const struct {
        Reply reply;
        std::int64_t maxBytes;
    } cases[] = {{Reply::Forbidden, 1 << 20},
                 {Reply::ServerError, 1 << 20},
                 {Reply::Huge, std::int64_t{1} << 40},
                 {Reply::Longer, 1 << 20},
                 {Reply::Whole, 2999}};
    for (const auto& [reply, maxBytes] : cases) {
        m_server.Serve("/f", page, reply);
        EXPECT_FALSE(Download("/f", {maxBytes, 60'000, false})) << static_cast<int>(reply);
        EXPECT_FALSE(LocalKept()) << static_cast<int>(reply);
    }
    // An error page leaves a local file of another size alone.
    m_temp.Write("local", "kept");
    m_server.Serve("/f", page, Reply::ServerError);
    EXPECT_FALSE(Download("/f", online::kIniDownload));
    EXPECT_EQ(m_temp.Read("local"), "kept");

    m_server.Serve("/f", page);
    EXPECT_TRUE(Download("/f", {3000, 60'000, false}));
    EXPECT_EQ(m_temp.Read("local"), page);
}

TEST_F(HostileServerTest, DrippingServerEndsAtTheDeadline) {
    m_server.Serve("/drip", std::string(100'000, 'd'), Reply::Drip);
    EXPECT_FALSE(Download("/drip", {1 << 20, 1500, false}));
    EXPECT_FALSE(LocalKept());
}

TEST_F(HostileServerTest, RunnableFileFollowsTheUmask) {
    m_server.Serve("/prog", "#!/bin/sh\n");
    const mode_t previous = ::umask(027);
    EXPECT_TRUE(Download("/prog", online::kUpdaterDownload));
    ::umask(previous);
    EXPECT_EQ(fs::status(m_temp.File("local")).permissions(), static_cast<fs::perms>(0750));
}

class BannerFolderTest : public onlinetest::LoopbackTest {
protected:
    void SetUp() override {
        LoopbackTest::SetUp();
        m_server.Serve("//showinfo//sondrel//eng.ini", "[Info Set]\nCount=2\n");
        const char* previous = std::getenv("XDG_DATA_HOME");
        m_savedDataHome = previous != nullptr ? std::optional<std::string>(previous) : std::nullopt;
        ::setenv("XDG_DATA_HOME", m_temp.File("data").c_str(), 1);
        fs::create_directory(m_temp.File("program"));
    }
    void TearDown() override {
        if (m_savedDataHome) {
            ::setenv("XDG_DATA_HOME", m_savedDataHome->c_str(), 1);
        } else {
            ::unsetenv("XDG_DATA_HOME");
        }
        LoopbackTest::TearDown();
    }
    int FetchedCount() const {
        const std::string local = online::BannerLocalPath(m_temp.File("program/"), "eng");
        return online::FetchBanner(online::BannerServerUrl(m_server.Address(), "eng"), local).count;
    }

    std::optional<std::string> m_savedDataHome;
};

TEST_F(BannerFolderTest, MissingShowinfoFolderIsCreated) {
    EXPECT_EQ(FetchedCount(), 2);
    EXPECT_EQ(m_temp.Read("program/showinfo/eng.ini"), "[Info Set]\nCount=2\n");
}

TEST_F(BannerFolderTest, ReadOnlyProgramFolderKeepsTheBannerInTheUsersDataFolder) {
    const std::string program = m_temp.File("program");
    const bool mounted =
        ::geteuid() == 0 && ::mount("tmpfs", program.c_str(), "tmpfs", MS_RDONLY, "size=64k") == 0;
    if (!mounted) {
        fs::permissions(program, fs::perms::owner_read | fs::perms::owner_exec);
        if (::access(program.c_str(), W_OK) == 0) {
            GTEST_SKIP() << "no read-only folder can be made here";
        }
    }
    EXPECT_EQ(FetchedCount(), 2);
    EXPECT_EQ(m_temp.Read("data/sondrel/showinfo/eng.ini"), "[Info Set]\nCount=2\n");
    if (mounted) {
        ::umount(program.c_str());
    }
    fs::permissions(program, fs::perms::owner_all);
}

} // namespace
