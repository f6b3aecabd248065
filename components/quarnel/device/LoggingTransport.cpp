#include "components/quarnel/device/LoggingTransport.h"

#include "components/quarnel/mmc/SenseData.h"
#include "util/Environment.h"

#include <fcntl.h>
#include <unistd.h>

#include <algorithm>
#include <array>
#include <chrono>
#include <cstdio>
#include <ctime>

namespace quarnel {

namespace {

constexpr const char* kLogVariable = "SONDREL_SCSI_LOG";

std::string TimeNow() {
    const auto now = std::chrono::system_clock::now();
    const std::time_t seconds = std::chrono::system_clock::to_time_t(now);
    const auto micros = std::chrono::duration_cast<std::chrono::microseconds>(
                            now.time_since_epoch() % std::chrono::seconds(1))
                            .count();
    std::tm utc{};
    gmtime_r(&seconds, &utc);
    std::array<char, 40> text{};
    const std::size_t length = std::strftime(text.data(), text.size(), "%Y-%m-%dT%H:%M:%S", &utc);
    std::snprintf(text.data() + length, text.size() - length, ".%06ldZ", static_cast<long>(micros));
    return text.data();
}

const char* DirectionName(const Command& command) {
    if (command.data.empty()) {
        return "none";
    }
    switch (command.direction) {
    case DataDirection::FromDevice:
        return "in";
    case DataDirection::ToDevice:
        return "out";
    case DataDirection::None:
        break;
    }
    return "none";
}

std::string SenseOf(const CommandOutcome& outcome) {
    if (outcome.scsiStatus != kStatusCheckCondition) {
        return "-";
    }
    const SenseData sense =
        DecodeSense(std::span(outcome.sense)
                        .first(std::min<std::size_t>(outcome.senseLength, outcome.sense.size())));
    return sense.valid ? DescribeSense(sense.Code()) : "none delivered";
}

std::string Line(const std::string& drive, const Command& command, const CommandOutcome& outcome,
                 double milliseconds) {
    std::string line = TimeNow() + " " + drive + " cdb";
    std::array<char, 48> field{};
    for (std::size_t i = 0; i < std::min<std::size_t>(command.cdb.length, command.cdb.bytes.size());
         ++i) {
        std::snprintf(field.data(), field.size(), " %02X", command.cdb.bytes[i]);
        line += field.data();
    }
    std::snprintf(field.data(), field.size(), " | %s %zu | status %02X", DirectionName(command),
                  command.data.size(), outcome.scsiStatus);
    line += field.data();
    if (outcome.hostError != 0) {
        std::snprintf(field.data(), field.size(), " host error 0x%X", outcome.hostError);
        line += field.data();
    }
    line += " | sense " + SenseOf(outcome);
    std::snprintf(field.data(), field.size(), " | %.3f ms\n", milliseconds);
    return line + field.data();
}

} // namespace

LoggingTransport::LoggingTransport(std::unique_ptr<Transport> transport, const std::string& file)
    : m_transport(std::move(transport)),
      m_fd(::open(file.c_str(), O_WRONLY | O_CREAT | O_APPEND | O_CLOEXEC, 0644)) {}

LoggingTransport::~LoggingTransport() {
    if (m_fd >= 0) {
        ::close(m_fd);
    }
}

CommandOutcome LoggingTransport::Execute(const Command& command) {
    const auto start = std::chrono::steady_clock::now();
    CommandOutcome outcome = m_transport->Execute(command);
    const std::chrono::duration<double, std::milli> took = std::chrono::steady_clock::now() - start;
    if (m_fd >= 0) {
        const std::string line = Line(m_transport->Name(), command, outcome, took.count());
        // One write per line: O_APPEND keeps lines of other drives and processes whole.
        static_cast<void>(::write(m_fd, line.data(), line.size()));
    }
    return outcome;
}

std::unique_ptr<Transport> WithCommandLog(std::unique_ptr<Transport> transport) {
    const std::string file = util::EnvironmentValue(kLogVariable);
    if (file.empty() || transport == nullptr) {
        return transport;
    }
    return std::make_unique<LoggingTransport>(std::move(transport), file);
}

} // namespace quarnel
