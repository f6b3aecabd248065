#pragma once
// The one interface through which every MMC command reaches a drive: a Linux
// SG_IO device node, or the emulated writer. Command blocks are built and
// replies parsed elsewhere (pure functions); a transport only moves bytes.

#include <array>
#include <cstdint>
#include <span>
#include <string>

namespace quarnel {

enum class DataDirection : std::uint8_t { None, FromDevice, ToDevice };

// SCSI status bytes a transport reports.
inline constexpr std::uint8_t kStatusGood = 0x00;
inline constexpr std::uint8_t kStatusCheckCondition = 0x02;
inline constexpr std::uint8_t kStatusBusy = 0x08;

struct CommandBlock {
    std::array<std::uint8_t, 16> bytes{};
    std::uint8_t length = 0; // 6, 10 or 12 for MMC
};

struct Command {
    CommandBlock cdb;
    DataDirection direction = DataDirection::None;
    std::span<std::uint8_t> data; // reply buffer (FromDevice) or parameter data (ToDevice)
    std::uint32_t timeoutMs = 10'000;
};

struct CommandOutcome {
    std::uint8_t scsiStatus = kStatusGood;
    // Non-zero when the command never completed at the target: the host
    // adapter or driver status of SG_IO, or an errno from the ioctl itself.
    std::uint32_t hostError = 0;
    // Bytes actually moved; a reply parser must not read beyond this, whatever
    // the reply's own length fields claim.
    std::uint32_t transferred = 0;
    std::array<std::uint8_t, 64> sense{};
    std::uint8_t senseLength = 0;

    [[nodiscard]] bool Ok() const { return hostError == 0 && scsiStatus == kStatusGood; }
};

class Transport {
public:
    Transport() = default;
    Transport(const Transport&) = delete;
    Transport& operator=(const Transport&) = delete;
    virtual ~Transport() = default;

    // Runs one command to completion (or time-out) on the calling thread.
    virtual CommandOutcome Execute(const Command& command) = 0;
    // A name for messages and the drive list: "/dev/sr0", or the emulated drive's folder.
    [[nodiscard]] virtual std::string Name() const = 0;
    // Keeps other users (mounts, other programs opening the device
    // exclusively) away from the drive while a disc is written, or lets them
    // back. A drive that only this process can reach has nobody to keep away.
    virtual bool SetExclusive(bool exclusive) {
        static_cast<void>(exclusive);
        return true;
    }
    // The drive letter's index (3 = D) the drive keeps from run to run; 0
    // when it has none and takes the next free one.
    [[nodiscard]] virtual int KeptDeviceId() const { return 0; }
};

} // namespace quarnel
