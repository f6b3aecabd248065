#include "tests/components/quarnel/device/FakeDrive.h"

#include "components/quarnel/MmcOpcodes.h"

#include <algorithm>

namespace quarnel::testing {

FakeDrive::FakeDrive(std::shared_ptr<Script> script, std::string name)
    : m_script(std::move(script)), m_name(std::move(name)) {}

CommandOutcome FakeDrive::Execute(const Command& command) {
    LoggedCommand logged;
    logged.cdb.assign(command.cdb.bytes.begin(), command.cdb.bytes.begin() + command.cdb.length);
    logged.direction = command.direction;
    logged.dataLength = command.data.size();
    if (command.direction == DataDirection::ToDevice) {
        logged.sent.assign(command.data.begin(), command.data.end());
    }
    logged.timeoutMs = command.timeoutMs;
    m_script->log.push_back(logged);
    const auto found = m_script->handlers.find(logged.Opcode());
    if (found == m_script->handlers.end()) {
        return Check(0x5, 0x20, 0x00)(command); // invalid command operation code
    }
    return found->second(command);
}

bool FakeDrive::SetExclusive(bool exclusive) {
    if (m_script->refuseExclusive) {
        return false;
    }
    m_script->exclusive = exclusive;
    return true;
}

FakeDrive::Handler Reply(std::vector<std::uint8_t> bytes) {
    return [bytes](const Command& command) {
        CommandOutcome outcome;
        const std::size_t count = std::min(bytes.size(), command.data.size());
        std::copy_n(bytes.begin(), count, command.data.begin());
        outcome.transferred = static_cast<std::uint32_t>(count);
        return outcome;
    };
}

FakeDrive::Handler Good() {
    return [](const Command& command) {
        CommandOutcome outcome;
        outcome.transferred = static_cast<std::uint32_t>(command.data.size());
        return outcome;
    };
}

FakeDrive::Handler Check(std::uint8_t key, std::uint8_t asc, std::uint8_t ascq, bool autoSense) {
    return [=](const Command&) {
        CommandOutcome outcome;
        outcome.scsiStatus = kStatusCheckCondition;
        if (autoSense) {
            outcome.sense[0] = 0x70;
            outcome.sense[2] = key;
            outcome.sense[7] = 10;
            outcome.sense[12] = asc;
            outcome.sense[13] = ascq;
            outcome.senseLength = 18;
        }
        return outcome;
    };
}

std::vector<std::uint8_t> ModeSenseReply(std::vector<std::uint8_t> page) {
    std::vector<std::uint8_t> reply(8 + page.size(), 0);
    std::copy(page.begin(), page.end(), reply.begin() + 8);
    reply[1] = static_cast<std::uint8_t>(reply.size() - 2);
    return reply;
}

std::vector<std::uint8_t> CapabilitiesPage(bool writesCd, bool writesDvd, bool readsDvd,
                                           bool underrunFree) {
    std::vector<std::uint8_t> page(28, 0);
    page[0] = 0x2A;
    page[1] = 26;
    page[2] = static_cast<std::uint8_t>(0x03 | (readsDvd ? 0x38 : 0));
    page[3] = static_cast<std::uint8_t>((writesCd ? 0x03 : 0) | (writesDvd ? 0x30 : 0));
    page[4] = underrunFree ? 0x80 : 0;
    page[6] = 0x29;
    page[12] = 0x08;
    return page;
}

std::vector<std::uint8_t> WriteParametersPage() {
    std::vector<std::uint8_t> page(52, 0);
    page[0] = 0x05;
    page[1] = 0x32;
    page[2] = 0x02; // SAO
    page[3] = 0x04; // data track mode
    page[4] = 0x08; // mode 1
    page[5] = 0x07; // link size, kept
    return page;
}

std::vector<std::uint8_t> ProfileReply(std::uint16_t profile) {
    return {0,
            0,
            0,
            4,
            0,
            0,
            static_cast<std::uint8_t>(profile >> 8),
            static_cast<std::uint8_t>(profile)};
}

} // namespace quarnel::testing
