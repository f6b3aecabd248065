// The file download end to end: libcurl against a real HTTP server on the
// loopback address, with the replies the download has to cope with.

#include "online/DownloadFile.h"
#include "tests/online/LoopbackTest.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <random>

namespace {

using Reply = testsupport::LocalHttpServer::Reply;

std::string RandomBytes(size_t size) {
    std::mt19937 generator(7);
    std::string bytes(size, '\0');
    for (char& byte : bytes) {
        byte = static_cast<char>(generator());
    }
    return bytes;
}

class DownloadFileTest : public onlinetest::LoopbackTest {
protected:
    std::string Url(const std::string& path) const { return m_server.Address() + path; }
};

TEST_F(DownloadFileTest, WholeFileArrivesPastEveryCache) {
    const std::string body = RandomBytes(200000);
    m_server.Serve("/files/big.bin", body);

    EXPECT_TRUE(online::DownloadFile(Url("\\files\\big.bin"), m_temp.File("big.bin"),
                                     online::kIniDownload));
    EXPECT_EQ(m_temp.Read("big.bin"), body);
    EXPECT_EQ(m_server.LastRequestHeader("/files/big.bin", "Cache-Control"), "no-cache");
    EXPECT_EQ(m_server.LastRequestHeader("/files/big.bin", "Pragma"), "no-cache");
    EXPECT_EQ(m_server.LastRequestHeader("/files/big.bin", "User-Agent"), "my_down");
}

TEST_F(DownloadFileTest, RepliesWithoutAUsableLengthLeaveTheLocalFileAlone) {
    const std::string local = m_temp.Write("kept.ini", "kept");
    for (const Reply reply : {Reply::NotFound, Reply::NoContentLength, Reply::ZeroLength}) {
        m_server.Serve("/file", "some body", reply);
        EXPECT_FALSE(online::DownloadFile(Url("/file"), local, online::kIniDownload))
            << static_cast<int>(reply);
        EXPECT_EQ(m_temp.Read("kept.ini"), "kept") << static_cast<int>(reply);
    }
    EXPECT_FALSE(
        online::DownloadFile(Url("/never-served"), m_temp.File("absent"), online::kIniDownload));
    EXPECT_FALSE(std::filesystem::exists(m_temp.File("absent")));
}

TEST_F(DownloadFileTest, ShortOrStalledTransferKeepsNothing) {
    m_server.Serve("/short", RandomBytes(6000), Reply::Short);
    m_server.Serve("/stall", RandomBytes(3000), Reply::Stall);

    EXPECT_FALSE(online::DownloadFile(Url("/short"), m_temp.File("short"), online::kIniDownload));
    EXPECT_FALSE(online::DownloadFile(Url("/stall"), m_temp.File("stall"), online::kIniDownload));
    EXPECT_FALSE(std::filesystem::exists(m_temp.File("short")));
    EXPECT_FALSE(std::filesystem::exists(m_temp.File("stall")));
}

TEST_F(DownloadFileTest, RedirectsAreFollowedOnlyToWebAddresses) {
    m_server.Serve("/moved", "/target", Reply::Redirect);
    m_server.Serve("/target", "moved here");
    EXPECT_TRUE(online::DownloadFile(Url("/moved"), m_temp.File("moved"), online::kIniDownload));
    EXPECT_EQ(m_temp.Read("moved"), "moved here");

    const std::string secret = m_temp.Write("secret", "local file");
    m_server.Serve("/to-file", "file://" + secret, Reply::Redirect);
    EXPECT_FALSE(online::DownloadFile(Url("/to-file"), m_temp.File("copy"), online::kIniDownload));
    EXPECT_FALSE(std::filesystem::exists(m_temp.File("copy")));
}

TEST_F(DownloadFileTest, AddressesThatCannotBeReachedFail) {
    std::string deadAddress;
    {
        const testsupport::LocalHttpServer gone;
        deadAddress = gone.Address();
    }
    for (const std::string& url :
         {deadAddress + "/a.ini", std::string("/update/sondrel/update.ini"),
          std::string("ftp://127.0.0.1/a.ini"), "file://" + m_temp.Write("f", "x"),
          std::string()}) {
        EXPECT_FALSE(online::DownloadFile(url, m_temp.File("out"), online::kIniDownload)) << url;
    }
    EXPECT_FALSE(std::filesystem::exists(m_temp.File("out")));
}

} // namespace
