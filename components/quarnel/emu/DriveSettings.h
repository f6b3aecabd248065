#pragma once
// What kind of writer an emulated drive is: its identity, what it reads and
// writes, its speed and buffer, and the faults it shows.

#include "components/quarnel/emu/FaultPlan.h"

#include <cstdint>
#include <string>

namespace quarnel::emu {

struct DriveCapabilities {
    bool cdR = true;
    bool cdRw = true;
    bool dvdRw = true;
    bool dvdPlusRw = true;
    bool dvdRam = true;
    bool testWrite = true;
    bool underrunProtection = true; // the BUF bit: BUFE may be switched on
    bool lock = true;
    bool eject = true;

    friend bool operator==(const DriveCapabilities&, const DriveCapabilities&) = default;
};

// Write speeds run from 1x to 52x; 0 stands for unlimited.
inline constexpr std::uint32_t kMaxWriteSpeedX = 52;

struct DriveSettings {
    std::string vendor = "SONDREL";
    std::string product = "EMULATED WRITER";
    std::string revision = "1.00";
    DriveCapabilities capabilities;
    // Highest write speed as a multiple of 1x (176,400 B/s); 0 = unlimited.
    std::uint32_t writeSpeedX = 16;
    std::uint32_t bufferKib = 2048;
    // Every duration the drive models (blanking, formatting, closing, draining
    // the buffer) is multiplied by this; tests use small values.
    double timeScale = 1.0;
    // As a real drive: after a disc change the next command gets a unit
    // attention (6/28/00), and for spinUpMs (× timeScale) after a disc arrived
    // (the tray closed on it, or it was loaded) the drive is "becoming ready"
    // (2/04/01). Tests that script commands right after a change switch these
    // off.
    bool unitAttention = true;
    std::uint32_t spinUpMs = 2000;
    FaultPlan faults;
};

} // namespace quarnel::emu
