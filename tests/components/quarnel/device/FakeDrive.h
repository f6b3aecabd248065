#pragma once
// A scripted drive for the device-class tests: answers each opcode with a
// handler the test sets, and logs every command it was given.

#include "components/quarnel/Transport.h"

#include <cstdint>
#include <functional>
#include <map>
#include <memory>
#include <string>
#include <vector>

namespace quarnel::testing {

struct LoggedCommand {
    std::vector<std::uint8_t> cdb;
    DataDirection direction = DataDirection::None;
    std::size_t dataLength = 0;
    std::vector<std::uint8_t> sent; // ToDevice data
    std::uint32_t timeoutMs = 0;

    [[nodiscard]] std::uint8_t Opcode() const { return cdb.empty() ? 0xFF : cdb[0]; }
};

class FakeDrive final : public Transport {
public:
    using Handler = std::function<CommandOutcome(const Command&)>;

    struct Script {
        std::map<std::uint8_t, Handler> handlers;
        std::vector<LoggedCommand> log;
        bool exclusive = false;
        bool refuseExclusive = false;
    };

    // The script outlives the drive object (the drive list owns the drive).
    explicit FakeDrive(std::shared_ptr<Script> script, std::string name = "fake");

    CommandOutcome Execute(const Command& command) override;
    [[nodiscard]] std::string Name() const override { return m_name; }
    bool SetExclusive(bool exclusive) override;

private:
    std::shared_ptr<Script> m_script;
    std::string m_name;
};

// Handlers: a reply copied into the buffer (cut to its size), plain success,
// a check condition with or without sense coming back automatically.
[[nodiscard]] FakeDrive::Handler Reply(std::vector<std::uint8_t> bytes);
[[nodiscard]] FakeDrive::Handler Good();
[[nodiscard]] FakeDrive::Handler Check(std::uint8_t key, std::uint8_t asc, std::uint8_t ascq,
                                       bool autoSense = true);

// Replies of a typical writer.
[[nodiscard]] std::vector<std::uint8_t> ModeSenseReply(std::vector<std::uint8_t> page);
[[nodiscard]] std::vector<std::uint8_t> CapabilitiesPage(bool writesCd, bool writesDvd,
                                                         bool readsDvd, bool underrunFree);
[[nodiscard]] std::vector<std::uint8_t> WriteParametersPage();
[[nodiscard]] std::vector<std::uint8_t> ProfileReply(std::uint16_t profile);

} // namespace quarnel::testing
