// Drive discovery on a made-up sysfs tree.
#include "components/quarnel/sg/DriveDiscovery.h"

#include <gtest/gtest.h>

#include <fstream>
#include <unistd.h>

namespace quarnel {
namespace {

namespace fs = std::filesystem;

class FakeSysfs : public ::testing::Test {
protected:
    void SetUp() override {
        m_root = fs::temp_directory_path() /
                 ("quarnel-sysfs-" + std::to_string(::getpid()) + "-" +
                  ::testing::UnitTest::GetInstance()->current_test_info()->name());
        fs::remove_all(m_root);
    }
    void TearDown() override { fs::remove_all(m_root); }

    void AddBlock(const std::string& folder, const std::string& name, const char* type) {
        const fs::path device = m_root / folder / name / "device";
        fs::create_directories(device);
        if (type != nullptr) {
            std::ofstream(device / "type") << type;
        }
    }

    fs::path m_root;
};

TEST_F(FakeSysfs, OpticalDrivesInNumberOrder) {
    AddBlock("class/block", "sr10", "5\n");
    AddBlock("class/block", "sr2", "5\n");
    AddBlock("class/block", "sr0", "5\n");
    AddBlock("class/block", "sda", "0\n");
    AddBlock("class/block", "sr3", "0\n"); // an sr name with another type
    AddBlock("class/block", "sr4", nullptr);
    AddBlock("class/block", "srx", "5\n");
    const std::vector<std::string> expected = {"/dev/sr0", "/dev/sr2", "/dev/sr10"};
    EXPECT_EQ(FindOpticalDrives(m_root), expected);
}

TEST_F(FakeSysfs, OlderLayoutWithoutClassBlock) {
    AddBlock("block", "sr1", "5");
    EXPECT_EQ(FindOpticalDrives(m_root), std::vector<std::string>{"/dev/sr1"});
}

TEST_F(FakeSysfs, NothingThere) {
    EXPECT_TRUE(FindOpticalDrives(m_root).empty());
}

} // namespace
} // namespace quarnel
