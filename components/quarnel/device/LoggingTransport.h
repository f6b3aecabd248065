#pragma once
// The command log: with SONDREL_SCSI_LOG naming a file, every command the
// program sends to a drive, real or emulated, is appended to that file as one
// line: the time (UTC), the drive, the command block, the direction and
// length of the data, the SCSI status, the sense with its words and how long
// the command took. Lines go out with one append each, so several drives and
// processes can share the file. Drives are only driven from the program's
// own threads (never the capture callback), so writing here is allowed.

#include "components/quarnel/Transport.h"

#include <memory>
#include <string>

namespace quarnel {

class LoggingTransport final : public Transport {
public:
    // Appends to `file`; the transport still works when the file cannot be opened.
    LoggingTransport(std::unique_ptr<Transport> transport, const std::string& file);
    ~LoggingTransport() override;
    LoggingTransport(const LoggingTransport&) = delete;
    LoggingTransport& operator=(const LoggingTransport&) = delete;

    CommandOutcome Execute(const Command& command) override;
    [[nodiscard]] std::string Name() const override { return m_transport->Name(); }
    bool SetExclusive(bool exclusive) override { return m_transport->SetExclusive(exclusive); }

private:
    std::unique_ptr<Transport> m_transport;
    int m_fd = -1;
};

// `transport` inside a LoggingTransport when SONDREL_SCSI_LOG is set, else itself.
[[nodiscard]] std::unique_ptr<Transport> WithCommandLog(std::unique_ptr<Transport> transport);

} // namespace quarnel
