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
    const std::string expected = ExpectedFolder();
    // A roomy buffer and one with exactly room for the terminator.
    for (const std::size_t size : {std::size_t{4096}, expected.size() + 1}) {
        std::vector<char> buffer(size, 'x');
        ASSERT_EQ(util::GetModuleFolder(buffer.data(), static_cast<unsigned>(size)), 0) << size;
        EXPECT_EQ(std::string(buffer.data()), expected);
        for (std::size_t i = expected.size(); i < size; ++i) {
            ASSERT_EQ(buffer[i], '\0') << "the rest of the buffer is zeroed, at " << i;
        }
    }
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
