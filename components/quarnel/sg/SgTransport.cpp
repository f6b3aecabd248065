#include "components/quarnel/sg/SgTransport.h"

#include <fcntl.h>
#include <sys/ioctl.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>

namespace quarnel {

namespace {

constexpr std::uint8_t kDriverStatusSense = 0x08; // sense data came back: not a failure

int Direction(DataDirection direction) {
    switch (direction) {
    case DataDirection::FromDevice:
        return SG_DXFER_FROM_DEV;
    case DataDirection::ToDevice:
        return SG_DXFER_TO_DEV;
    case DataDirection::None:
        break;
    }
    return SG_DXFER_NONE;
}

} // namespace

int SgTransport::RealIoctl(int fd, sg_io_hdr_t& header) {
    int result = 0;
    do {
        result = ::ioctl(fd, SG_IO, &header);
    } while (result != 0 && errno == EINTR);
    return result == 0 ? 0 : errno;
}

int SgTransport::OpenNode(const std::string& path, bool exclusive) {
    const int common = O_NONBLOCK | O_CLOEXEC | (exclusive ? O_EXCL : 0);
    int fd = ::open(path.c_str(), O_RDWR | common);
    if (fd < 0 && (errno == EACCES || errno == EROFS || errno == EPERM)) {
        fd = ::open(path.c_str(), O_RDONLY | common);
    }
    return fd;
}

std::unique_ptr<SgTransport> SgTransport::Open(const std::string& path) {
    const int fd = OpenNode(path, false);
    if (fd < 0) {
        return nullptr;
    }
    return std::make_unique<SgTransport>(path, fd, &SgTransport::RealIoctl);
}

SgTransport::SgTransport(std::string path, int fd, SgIoctl ioctl)
    : m_path(std::move(path)), m_fd(fd), m_ioctl(std::move(ioctl)) {}

SgTransport::~SgTransport() {
    if (m_fd >= 0) {
        ::close(m_fd);
    }
}

bool SgTransport::SetExclusive(bool exclusive) {
    const int fd = OpenNode(m_path, exclusive);
    if (fd < 0) {
        return false;
    }
    if (m_fd >= 0) {
        ::close(m_fd);
    }
    m_fd = fd;
    return true;
}

CommandOutcome SgTransport::Execute(const Command& command) {
    CommandOutcome outcome;
    CommandBlock cdb = command.cdb;
    sg_io_hdr_t header{};
    header.interface_id = 'S';
    header.cmd_len = cdb.length;
    header.cmdp = cdb.bytes.data();
    header.mx_sb_len = static_cast<unsigned char>(outcome.sense.size());
    header.sbp = outcome.sense.data();
    const bool moves = command.direction != DataDirection::None && !command.data.empty();
    header.dxfer_direction = moves ? Direction(command.direction) : SG_DXFER_NONE;
    header.dxfer_len = moves ? static_cast<unsigned int>(command.data.size()) : 0;
    header.dxferp = moves ? command.data.data() : nullptr;
    header.timeout = command.timeoutMs;

    const int error = m_ioctl(m_fd, header);
    if (error != 0) {
        outcome.hostError = kHostErrorIoctl | static_cast<std::uint8_t>(error);
        return outcome;
    }
    outcome.scsiStatus = header.status;
    outcome.senseLength =
        static_cast<std::uint8_t>(std::min<std::size_t>(header.sb_len_wr, outcome.sense.size()));
    if (header.host_status != 0) {
        outcome.hostError = kHostErrorAdapter | static_cast<std::uint8_t>(header.host_status);
    } else if ((header.driver_status & 0x0F) != 0 &&
               (header.driver_status & 0x0F) != kDriverStatusSense) {
        outcome.hostError = kHostErrorDriver | static_cast<std::uint8_t>(header.driver_status);
    }
    const auto resid = static_cast<unsigned int>(std::max(header.resid, 0));
    outcome.transferred = header.dxfer_len - std::min(resid, header.dxfer_len);
    return outcome;
}

} // namespace quarnel
