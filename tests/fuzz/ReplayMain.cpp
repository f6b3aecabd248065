// Driver for fuzz targets in ordinary builds: replays every file of the seed
// corpus, then a fixed series of pseudo-random and truncated inputs, through
// LLVMFuzzerTestOneInput. A crash or sanitizer report fails the test.
#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <random>
#include <vector>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size);

namespace {

void RunOne(const std::vector<std::uint8_t>& input) {
    // Every prefix: length fields that promise more than was delivered.
    for (std::size_t len = 0; len <= input.size(); ++len) {
        std::vector<std::uint8_t> copy(input.begin(), input.begin() + static_cast<long>(len));
        LLVMFuzzerTestOneInput(copy.data(), copy.size());
    }
}

} // namespace

int main(int argc, char** argv) {
    std::size_t files = 0;
    std::vector<std::vector<std::uint8_t>> seeds;
    for (int i = 1; i < argc; ++i) {
        std::error_code ec;
        if (!std::filesystem::is_directory(argv[i], ec)) {
            continue;
        }
        for (const auto& entry : std::filesystem::directory_iterator(argv[i])) {
            std::ifstream in(entry.path(), std::ios::binary);
            seeds.emplace_back(std::istreambuf_iterator<char>(in),
                               std::istreambuf_iterator<char>());
            RunOne(seeds.back());
            ++files;
        }
    }
    std::mt19937 rng(20261205);
    for (int round = 0; round < 2000; ++round) {
        std::vector<std::uint8_t> input(rng() % 600);
        if (!seeds.empty() && round % 2 == 0) {
            input = seeds[rng() % seeds.size()];
        }
        for (int flips = 0; flips < 8 && !input.empty(); ++flips) {
            input[rng() % input.size()] = static_cast<std::uint8_t>(rng());
        }
        if (round % 2 == 1) {
            for (auto& byte : input) {
                byte = static_cast<std::uint8_t>(rng());
            }
        }
        LLVMFuzzerTestOneInput(input.data(), input.size());
    }
    std::printf("replayed %zu corpus files and 2000 generated inputs\n", files);
    return 0;
}
