#include "tests/support/TestData.h"

#include <cstdlib>

namespace testsupport {

std::filesystem::path TestVectors() {
    const char* overridden = std::getenv("SONDREL_TESTVECTORS");
    const std::filesystem::path folder =
        overridden != nullptr && *overridden != '\0'
            ? std::filesystem::path(overridden)
            : std::filesystem::path(SONDREL_SOURCE_DIR) / ".." / "shared" / "testvectors";
    std::error_code error;
    return std::filesystem::is_directory(folder, error) ? folder : std::filesystem::path();
}

std::vector<std::uint8_t> AudioSectors(std::uint32_t lba, std::uint32_t sectors,
                                       std::uint8_t seed) {
    constexpr std::size_t kSectorBytes = 2352;
    std::vector<std::uint8_t> data(std::size_t{sectors} * kSectorBytes);
    for (std::size_t i = 0; i < data.size(); ++i) {
        const std::size_t sector = lba + i / kSectorBytes;
        data[i] = static_cast<std::uint8_t>(sector * 7 + i * 13 + seed);
    }
    return data;
}

} // namespace testsupport
