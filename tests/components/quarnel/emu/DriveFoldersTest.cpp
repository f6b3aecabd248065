#include "components/quarnel/emu/DriveFolders.h"

#include "components/quarnel/emu/EmulatedDrive.h"
#include "components/quarnel/emu/SteadyClock.h"
#include "tests/components/quarnel/emu/EmuTestDrive.h"

#include <gtest/gtest.h>

#include <cstdlib>

namespace quarnel::emu {
namespace {

TEST(DriveFolders, EnvironmentChoosesTheParent) {
    const char* saved = std::getenv("SONDREL_DRIVES");
    const std::string restore = saved != nullptr ? saved : "";
    ::setenv("SONDREL_DRIVES", "/tmp/elsewhere", 1);
    EXPECT_EQ(DefaultDrivesParent(), std::filesystem::path("/tmp/elsewhere"));
    ::unsetenv("SONDREL_DRIVES");
    ::setenv("XDG_DATA_HOME", "/tmp/data", 1);
    EXPECT_EQ(DefaultDrivesParent(), std::filesystem::path("/tmp/data/sondrel/drives"));
    ::unsetenv("XDG_DATA_HOME");
    EXPECT_EQ(DefaultDrivesParent().filename(), "drives");
    if (saved != nullptr) {
        ::setenv("SONDREL_DRIVES", restore.c_str(), 1);
    }
}

TEST(DriveFolders, CreateAndList) {
    test::TempFolder parent;
    EXPECT_FALSE(CreateDriveFolder(parent.Path(), "b", 8).empty());
    EXPECT_FALSE(CreateDriveFolder(parent.Path(), "a", 0).empty());
    std::filesystem::create_directory(parent.Path() / "not-a-drive");
    std::string error;
    EXPECT_TRUE(CreateDriveFolder(parent.Path(), "a", 4, &error).empty());
    EXPECT_NE(error.find("already"), std::string::npos);
    EXPECT_TRUE(CreateDriveFolder(parent.Path(), "../x", 4).empty());
    EXPECT_TRUE(CreateDriveFolder(parent.Path(), "", 4).empty());
    EXPECT_TRUE(CreateDriveFolder(parent.Path(), "fast", 60).empty());
    const auto drives = ListDriveFolders(parent.Path());
    ASSERT_EQ(drives.size(), 2U);
    EXPECT_EQ(drives[0].filename(), "a");
    EXPECT_EQ(drives[1].filename(), "b");
    EXPECT_TRUE(ListDriveFolders(parent.Path() / "missing").empty());
    EXPECT_EQ(EmulatedDrive::Open(parent.Path() / "not-a-drive", std::make_shared<SteadyClock>()),
              nullptr);
}

} // namespace
} // namespace quarnel::emu
