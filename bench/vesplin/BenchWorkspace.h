#pragma once
// The files the encoder benchmarks work on, made once per run in a temporary
// folder: 60 seconds of sound with something for a psychoacoustic model to
// work on (tones that come and go over a bed of noise), as a WAV file and as
// a pressed one-track CD in an emulated drive.

#include "components/vesplin/WavHeader.h"

#include <filesystem>
#include <string>

constexpr int kSoundSeconds = 60;

struct BenchWorkspace {
    BenchWorkspace();
    ~BenchWorkspace();
    BenchWorkspace(const BenchWorkspace&) = delete;
    BenchWorkspace& operator=(const BenchWorkspace&) = delete;

    std::string folder;                // with a trailing '/'
    std::filesystem::path driveFolder; // the emulated drive, empty if it could not be made
};

const BenchWorkspace& GetBenchWorkspace();
