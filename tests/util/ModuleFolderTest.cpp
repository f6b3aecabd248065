// The program folder in both forms: as text and into a caller's buffer.
#include "util/ModuleFolder.h"

#include <cerrno>
#include <filesystem>
#include <gtest/gtest.h>
#include <vector>

namespace {

// These tests run from build/tests/; the test binary is the running module.
std::string ExpectedFolder() {
    return std::filesystem::canonical("/proc/self/exe").parent_path().string() + "/";
}

TEST(ModuleFolderTest, TextFormIsTheExecutablesFolderWithSlash) {
    const std::string folder = util::GetModuleFolder();
    EXPECT_EQ(folder, ExpectedFolder());
    EXPECT_EQ(folder.back(), '/');
}

TEST(ModuleFolderTest, BufferFormFillsAndTerminates) {
    std::vector<char> buffer(4096, 'x');
    ASSERT_EQ(util::GetModuleFolder(buffer.data(), static_cast<unsigned>(buffer.size())), 0);
    EXPECT_EQ(std::string(buffer.data()), ExpectedFolder());
    const std::size_t length = ExpectedFolder().size();
    for (std::size_t i = length; i < buffer.size(); ++i) {
        ASSERT_EQ(buffer[i], '\0') << "the rest of the buffer is zeroed, at " << i;
    }
}

TEST(ModuleFolderTest, BufferExactlyLargeEnough) {
    const std::string expected = ExpectedFolder();
    std::vector<char> buffer(expected.size() + 1, 'x');
    EXPECT_EQ(util::GetModuleFolder(buffer.data(), static_cast<unsigned>(buffer.size())), 0);
    EXPECT_EQ(std::string(buffer.data()), expected);
}

TEST(ModuleFolderTest, ShortBufferGivesErangeAndStaysZeroed) {
    const std::string expected = ExpectedFolder();
    std::vector<char> buffer(expected.size() + 8, 'x');
    const unsigned tooSmall = static_cast<unsigned>(expected.size());
    EXPECT_EQ(util::GetModuleFolder(buffer.data(), tooSmall), ERANGE);
    for (unsigned i = 0; i < tooSmall; ++i) {
        ASSERT_EQ(buffer[i], '\0') << i;
    }
    EXPECT_EQ(buffer[tooSmall], 'x') << "nothing written past the given size";
    EXPECT_EQ(util::GetModuleFolder(buffer.data(), 0), ERANGE);
}

} // namespace
