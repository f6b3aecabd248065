#pragma once
// The Linux SG_IO transport for /dev/sr* device nodes. The ioctl itself is
// injected so that the request we build for each command can be checked
// without a drive.

#include "components/quarnel/Transport.h"

#include <scsi/sg.h>

#include <cstdint>
#include <functional>
#include <memory>
#include <string>

namespace quarnel {

// Runs SG_IO on the descriptor; returns 0, or the errno of a failed ioctl.
using SgIoctl = std::function<int(int fd, sg_io_hdr_t& header)>;

// CommandOutcome::hostError values: the source in the high bits, its code in the low byte.
inline constexpr std::uint32_t kHostErrorIoctl = 0x10000;   // | errno
inline constexpr std::uint32_t kHostErrorAdapter = 0x20000; // | host_status
inline constexpr std::uint32_t kHostErrorDriver = 0x30000;  // | driver_status

class SgTransport final : public Transport {
public:
    // Opens read-write (read-only when that is refused), non-blocking so that
    // an empty drive still opens; null when the node cannot be opened.
    [[nodiscard]] static std::unique_ptr<SgTransport> Open(const std::string& path);

    // Takes over fd (closed on destruction; -1 for none).
    SgTransport(std::string path, int fd, SgIoctl ioctl);
    ~SgTransport() override;

    CommandOutcome Execute(const Command& command) override;
    [[nodiscard]] std::string Name() const override { return m_path; }
    // Reopens the node with O_EXCL (refused while it is mounted), or without.
    bool SetExclusive(bool exclusive) override;

    [[nodiscard]] static int RealIoctl(int fd, sg_io_hdr_t& header);

private:
    static int OpenNode(const std::string& path, bool exclusive);

    std::string m_path;
    int m_fd = -1;
    SgIoctl m_ioctl;
};

} // namespace quarnel
