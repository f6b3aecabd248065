// The first temporary names of a process: seeds 1000, 1001 and onwards.
#include "tests/support/TempFolder.h"
#include "util/TempFileName.h"

#include <cstdlib>
#include <gtest/gtest.h>

namespace {

TEST(TempFileNameFirstTest, NamesFollowTheSeedsFrom1000) {
    testsupport::TempFolder folder;
    ASSERT_EQ(::setenv("TMPDIR", folder.Path().c_str(), 1), 0);
    const std::string prefix = folder.Path() + "Temp";
    // The first rand() after srand(1000) and srand(1001) in the classic C
    // runtime: (seed * 214013 + 2531011) >> 16 & 0x7FFF.
    EXPECT_EQ(util::CreateTempFile("ini"), prefix + "3304.ini");
    EXPECT_EQ(util::CreateTempFile("ini"), prefix + "3307.ini");
    // Seeds 1002 and 1003 name files that exist: the next name is seed 1004's.
    folder.Write("Temp3310.ini", "");
    folder.Write("Temp3313.ini", "");
    EXPECT_EQ(util::CreateTempFile("ini"), prefix + "3317.ini");
}

} // namespace
