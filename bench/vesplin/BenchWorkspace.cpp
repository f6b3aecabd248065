#include "bench/vesplin/BenchWorkspace.h"

#include "components/quarnel/emu/DriveFolders.h"

#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <fstream>
#include <numbers>
#include <vector>

namespace {

constexpr int kRateHz = 44100;

void Write(const std::string& path, const void* data, std::size_t size) {
    std::ofstream(path, std::ios::binary)
        .write(static_cast<const char*>(data), static_cast<std::streamsize>(size));
}

std::vector<std::int16_t> MakeSound() {
    std::vector<std::int16_t> pcm;
    pcm.reserve(std::size_t{kSoundSeconds} * kRateHz * 2);
    std::uint32_t noise = 12345;
    const double tonesHz[] = {220.0, 277.2, 329.6, 440.0, 1318.5, 2637.0};
    for (int i = 0; i < kSoundSeconds * kRateHz; ++i) {
        const double t = static_cast<double>(i) / kRateHz;
        for (int channel = 0; channel < 2; ++channel) {
            double value = 0.0;
            for (const double f : tonesHz) {
                const double envelope =
                    0.5 + 0.5 * std::sin(2.0 * std::numbers::pi * (0.13 + channel * 0.07) * t +
                                         f * 0.001);
                value += 2500.0 * envelope * std::sin(2.0 * std::numbers::pi * f * t + channel);
            }
            noise = noise * 1664525u + 1013904223u;
            value += static_cast<double>(static_cast<std::int32_t>(noise) >> 20);
            pcm.push_back(static_cast<std::int16_t>(std::lround(value)));
        }
    }
    return pcm;
}

} // namespace

BenchWorkspace::BenchWorkspace() {
    char pattern[] = "/tmp/sondrel-encbench-XXXXXX";
    folder = ::mkdtemp(pattern) != nullptr ? std::string(pattern) + "/" : std::string();
    // Little-endian hosts only, as the encoder itself.
    const std::vector<std::int16_t> pcm = MakeSound();
    const std::size_t pcmBytes = pcm.size() * 2;
    const auto header = vesplin::MakeWavHeader(static_cast<std::uint32_t>(pcmBytes));
    {
        std::ofstream wav(folder + "in.wav", std::ios::binary);
        wav.write(reinterpret_cast<const char*>(header.data()), header.size());
        wav.write(reinterpret_cast<const char*>(pcm.data()),
                  static_cast<std::streamsize>(pcmBytes));
    }
    Write(folder + "disc.bin", pcm.data(), pcmBytes);
    const std::string cue = "FILE \"disc.bin\" BINARY\n  TRACK 01 AUDIO\n    INDEX 01 00:00:00\n";
    Write(folder + "disc.cue", cue.data(), cue.size());
    driveFolder = quarnel::emu::CreateDriveFolder(folder, "drive", 0);
}

BenchWorkspace::~BenchWorkspace() {
    std::error_code error;
    std::filesystem::remove_all(folder, error);
}

const BenchWorkspace& GetBenchWorkspace() {
    static const BenchWorkspace workspace;
    return workspace;
}
