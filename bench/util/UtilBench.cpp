// File comparison and existence tests against the plainest peers doing the
// same work in the same run: FilesEqual (2048-byte blocks through CFile64)
// against fread with 64 KiB blocks and memcmp, and FileExists (glob) against
// one lstat. Compare each pair's times as a ratio.
#include "util/FileExists.h"
#include "util/FilesEqual.h"

#include <benchmark/benchmark.h>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <string>
#include <sys/stat.h>
#include <unistd.h>
#include <vector>

namespace {

constexpr std::size_t kFileBytes = 8 << 20;

// Two equal files in a folder of their own, made once for the whole run.
struct Files {
    Files() {
        std::string pattern =
            (std::filesystem::temp_directory_path() / "sondrel-bench-XXXXXX").string();
        folder = ::mkdtemp(pattern.data()) != nullptr ? pattern : std::string();
        std::vector<char> data(kFileBytes);
        for (std::size_t i = 0; i < data.size(); ++i) {
            data[i] = static_cast<char>(i * 31 + (i >> 12));
        }
        for (const std::string& path : {First(), Second()}) {
            std::FILE* out = std::fopen(path.c_str(), "wb");
            if (out != nullptr) {
                std::fwrite(data.data(), 1, data.size(), out);
                std::fclose(out);
            }
        }
    }
    ~Files() {
        std::error_code ec;
        std::filesystem::remove_all(folder, ec);
    }
    std::string First() const { return folder + "/first.bin"; }
    std::string Second() const { return folder + "/second.bin"; }

    std::string folder;
};

const Files& TheFiles() {
    static const Files files;
    return files;
}

bool PeerEqual(const std::string& first, const std::string& second) {
    std::FILE* a = std::fopen(first.c_str(), "rb");
    std::FILE* b = std::fopen(second.c_str(), "rb");
    bool equal = a != nullptr && b != nullptr;
    std::vector<char> bufferA(64 << 10);
    std::vector<char> bufferB(64 << 10);
    while (equal) {
        const std::size_t gotA = std::fread(bufferA.data(), 1, bufferA.size(), a);
        const std::size_t gotB = std::fread(bufferB.data(), 1, bufferB.size(), b);
        equal = gotA == gotB && std::memcmp(bufferA.data(), bufferB.data(), gotA) == 0;
        if (gotA == 0) {
            break;
        }
    }
    if (a != nullptr) {
        std::fclose(a);
    }
    if (b != nullptr) {
        std::fclose(b);
    }
    return equal;
}

void BM_FilesEqual(benchmark::State& state) {
    const Files& files = TheFiles();
    for (auto _ : state) {
        benchmark::DoNotOptimize(util::FilesEqual(files.First(), files.Second()));
    }
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * 2 * kFileBytes));
}

void BM_FilesEqualPeerFreadMemcmp(benchmark::State& state) {
    const Files& files = TheFiles();
    for (auto _ : state) {
        benchmark::DoNotOptimize(PeerEqual(files.First(), files.Second()));
    }
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * 2 * kFileBytes));
}

void BM_FileExists(benchmark::State& state) {
    const std::string path = TheFiles().First();
    for (auto _ : state) {
        benchmark::DoNotOptimize(util::FileExists(path.c_str()));
    }
}

void BM_FileExistsPeerLstat(benchmark::State& state) {
    const std::string path = TheFiles().First();
    for (auto _ : state) {
        struct stat info {};
        benchmark::DoNotOptimize(::lstat(path.c_str(), &info) == 0);
    }
}

BENCHMARK(BM_FilesEqual);
BENCHMARK(BM_FilesEqualPeerFreadMemcmp);
BENCHMARK(BM_FileExists);
BENCHMARK(BM_FileExistsPeerLstat);

} // namespace

BENCHMARK_MAIN();
