#pragma once
// Data the tests share: the real-world test vectors beside the repository,
// and audio sectors whose bytes tell where they belong.

#include <cstdint>
#include <filesystem>
#include <vector>

namespace testsupport {

// ../shared/testvectors beside the repository, or the folder that
// SONDREL_TESTVECTORS names (a worktree's); empty when it is absent.
[[nodiscard]] std::filesystem::path TestVectors();

// `sectors` audio sectors of 2,352 bytes from `lba` on, whose bytes depend on
// their sector and on `seed`.
[[nodiscard]] std::vector<std::uint8_t> AudioSectors(std::uint32_t lba, std::uint32_t sectors,
                                                     std::uint8_t seed = 0);

} // namespace testsupport
