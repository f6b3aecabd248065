#pragma once
// Faults the emulated writer can be told to show, for tests and for trying the
// recorder against a misbehaving drive.

#include "components/quarnel/mmc/Msf.h"

#include <cstdint>
#include <vector>

namespace quarnel::emu {

struct BlockRange {
    std::uint32_t first = 0;
    std::uint32_t last = 0; // inclusive

    [[nodiscard]] bool Contains(std::uint32_t lba) const { return lba >= first && lba <= last; }
    friend bool operator==(const BlockRange&, const BlockRange&) = default;
};

struct FaultPlan {
    // The next this many WRITEs answer "long write in progress" (2/04/08).
    std::uint32_t longWriteAttempts = 0;
    // WRITEs that touch this block or later ones fail with a write error (3/0C/00).
    std::uint32_t failWritesFrom = kNoAddress;
    // Every medium command answers "not ready" (2/04/00).
    bool notReady = false;
    // READ CD of these blocks fails with an unrecovered read error (3/11/05).
    std::vector<BlockRange> unreadable;
    // READ CD of these blocks gives the image's data the first time each block
    // is read and different data every later time (the reading's number in the
    // block's first bytes), as a disc whose errors the drive guesses at.
    std::vector<BlockRange> unstable;
    // READ CD of these blocks fails the same way unless the read speed has
    // been set to the lowest (1x), as with a scratched disc. Set at run time
    // only.
    std::vector<BlockRange> readableOnlySlowly;
    // Commands with these operation codes fail with a hardware error
    // (4/44/00). Set at run time only; drive.ini does not keep them.
    std::vector<std::uint8_t> failCommands;

    friend bool operator==(const FaultPlan&, const FaultPlan&) = default;
};

} // namespace quarnel::emu
