#include "components/quarnel/mmc/CommandTimeouts.h"

#include "components/quarnel/MmcOpcodes.h"

namespace quarnel {

std::uint32_t TimeoutMsFor(const CommandBlock& block) {
    const std::uint8_t flags = block.bytes[1];
    switch (block.bytes[0]) {
    case op::kWrite10:
        return kWriteTimeoutMs;
    case op::kSynchronizeCache:
        return (flags & 0x02) != 0 ? kImmediateTimeoutMs : kCloseTimeoutMs;
    case op::kCloseTrackSession:
        return (flags & 0x01) != 0 ? kImmediateTimeoutMs : kCloseTimeoutMs;
    case op::kBlank:
        return (flags & 0x10) != 0 ? kImmediateTimeoutMs : kBlankTimeoutMs;
    case op::kFormatUnit:
        // Immed lives in the parameter list; the drive answers at once with
        // it, and a full format without it is allowed the same hours as BLANK.
        return kBlankTimeoutMs;
    case op::kReadCd:
        return kReadTimeoutMs;
    case op::kStartStopUnit:
        return kTrayTimeoutMs;
    default:
        return kDefaultTimeoutMs;
    }
}

Command MakeCommand(const CommandBlock& block, DataDirection direction,
                    std::span<std::uint8_t> data) {
    Command command;
    command.cdb = block;
    command.direction = data.empty() ? DataDirection::None : direction;
    command.data = data;
    command.timeoutMs = TimeoutMsFor(block);
    return command;
}

Command MakeCommand(const CommandBlock& block) {
    return MakeCommand(block, DataDirection::None, {});
}

} // namespace quarnel
