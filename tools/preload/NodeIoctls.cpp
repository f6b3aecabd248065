#include "tools/preload/NodeIoctls.h"

#include "tools/preload/ServedNode.h"

#include <linux/cdrom.h>
#include <scsi/scsi.h>
#include <scsi/scsi_ioctl.h>
#include <scsi/sg.h>

#include <algorithm>
#include <array>
#include <cerrno>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <span>

namespace preload {

namespace {

constexpr int kSgVersion = 30527;
constexpr int kHostNumber = 9;
constexpr int kReservedBytes = 64 * 1024;
constexpr std::uint8_t kDriverSense = 0x08;
constexpr unsigned kDefaultTimeoutMs = 60'000;
// The kernel's SG_IO time-out of a node opened without SG_SET_TIMEOUT, in
// jiffies of USER_HZ (the unit SG_GET_TIMEOUT answers in).
int g_timeoutTicks = 6000;

int Fail(int error) {
    errno = error;
    return -1;
}

quarnel::DataDirection DirectionOf(int sgDirection) {
    switch (sgDirection) {
    case SG_DXFER_FROM_DEV:
    case SG_DXFER_TO_FROM_DEV:
        return quarnel::DataDirection::FromDevice;
    case SG_DXFER_TO_DEV:
        return quarnel::DataDirection::ToDevice;
    default:
        return quarnel::DataDirection::None;
    }
}

int SgIo(int fd, sg_io_hdr_t& header) {
    if (header.interface_id != 'S' || header.iovec_count != 0 || header.cmdp == nullptr ||
        header.cmd_len < 6 || header.cmd_len > 16) {
        return Fail(EINVAL);
    }
    quarnel::Command command;
    command.cdb.length = header.cmd_len;
    std::copy_n(header.cmdp, header.cmd_len, command.cdb.bytes.begin());
    command.direction = header.dxfer_len == 0 || header.dxferp == nullptr
                            ? quarnel::DataDirection::None
                            : DirectionOf(header.dxfer_direction);
    if (command.direction != quarnel::DataDirection::None) {
        command.data = {static_cast<std::uint8_t*>(header.dxferp), header.dxfer_len};
    }
    command.timeoutMs = header.timeout == 0 ? kDefaultTimeoutMs : header.timeout;
    const quarnel::CommandOutcome outcome = ServedNode::Execute(fd, command);
    if (outcome.hostError != 0 && outcome.scsiStatus == quarnel::kStatusGood) {
        return Fail(EIO);
    }
    header.status = outcome.scsiStatus;
    header.masked_status = static_cast<unsigned char>(outcome.scsiStatus >> 1);
    header.msg_status = 0;
    header.host_status = 0;
    header.driver_status = 0;
    header.sb_len_wr = 0;
    header.info = 0;
    header.duration = 0;
    if (outcome.scsiStatus == quarnel::kStatusCheckCondition) {
        const auto length = std::min<unsigned>(outcome.senseLength, header.mx_sb_len);
        if (header.sbp != nullptr) {
            std::copy_n(outcome.sense.begin(), length, header.sbp);
        }
        header.sb_len_wr = static_cast<unsigned char>(length);
        header.driver_status = kDriverSense;
        header.info = SG_INFO_CHECK;
    }
    header.resid = static_cast<int>(command.data.size() - outcome.transferred);
    return 0;
}

// Runs a command with no data or a small reply; true when it succeeded.
bool Run(int fd, std::initializer_list<std::uint8_t> cdb, std::span<std::uint8_t> reply = {}) {
    quarnel::Command command;
    command.cdb.length = static_cast<std::uint8_t>(cdb.size());
    std::copy(cdb.begin(), cdb.end(), command.cdb.bytes.begin());
    command.direction =
        reply.empty() ? quarnel::DataDirection::None : quarnel::DataDirection::FromDevice;
    command.data = reply;
    return ServedNode::Execute(fd, command).Ok();
}

int DriveStatus(int fd) {
    quarnel::Command command;
    command.cdb.length = 6;
    const quarnel::CommandOutcome outcome = ServedNode::Execute(fd, command);
    if (outcome.Ok()) {
        return CDS_DISC_OK;
    }
    const std::uint8_t asc = outcome.senseLength > 12 ? outcome.sense[12] : 0;
    const std::uint8_t ascq = outcome.senseLength > 13 ? outcome.sense[13] : 0;
    if (asc == 0x3A) {
        return ascq == 0x02 ? CDS_TRAY_OPEN : CDS_NO_DISC;
    }
    return CDS_DRIVE_NOT_READY;
}

// READ TOC/PMA/ATIP format `format` from `track`, in MSF or LBA addresses.
bool ReadToc(int fd, std::uint8_t format, std::uint8_t track, bool msf,
             std::span<std::uint8_t> reply) {
    const auto length = static_cast<std::uint16_t>(reply.size());
    return Run(fd,
               {0x43, static_cast<std::uint8_t>(msf ? 0x02 : 0), format, 0, 0, 0, track,
                static_cast<std::uint8_t>(length >> 8), static_cast<std::uint8_t>(length), 0},
               reply);
}

void PutAddress(cdrom_addr& address, std::span<const std::uint8_t> bytes, bool msf) {
    if (msf) {
        address.msf = {bytes[1], bytes[2], bytes[3]};
    } else {
        address.lba =
            static_cast<int>((std::uint32_t{bytes[0]} << 24) | (std::uint32_t{bytes[1]} << 16) |
                             (std::uint32_t{bytes[2]} << 8) | bytes[3]);
    }
}

int TocHeader(int fd, cdrom_tochdr& header) {
    std::array<std::uint8_t, 4> reply{};
    if (!ReadToc(fd, 0, 1, false, reply)) {
        return Fail(EIO);
    }
    header.cdth_trk0 = reply[2];
    header.cdth_trk1 = reply[3];
    return 0;
}

int TocEntry(int fd, cdrom_tocentry& entry) {
    std::array<std::uint8_t, 12> reply{};
    const bool msf = entry.cdte_format == CDROM_MSF;
    if (!ReadToc(fd, 0, entry.cdte_track, msf, reply) || reply[6] != entry.cdte_track) {
        return Fail(EIO);
    }
    entry.cdte_adr = reply[5] >> 4;
    entry.cdte_ctrl = reply[5] & 0x0F;
    PutAddress(entry.cdte_addr, std::span(reply).subspan(8), msf);
    entry.cdte_datamode = 0;
    return 0;
}

int MultiSession(int fd, cdrom_multisession& session) {
    std::array<std::uint8_t, 12> reply{};
    const bool msf = session.addr_format == CDROM_MSF;
    if (!ReadToc(fd, 1, 0, msf, reply)) {
        return Fail(EIO);
    }
    PutAddress(session.addr, std::span(reply).subspan(8), msf);
    session.xa_flag = reply[3] > 1 ? 1 : 0;
    return 0;
}

int ReadAudio(int fd, const cdrom_read_audio& request) {
    constexpr std::uint32_t kBlockBytes = 2352;
    std::uint32_t lba = 0;
    if (request.addr_format == CDROM_MSF) {
        const cdrom_msf0& msf = request.addr.msf;
        lba = (std::uint32_t{msf.minute} * 60 + msf.second) * 75 + msf.frame - CD_MSF_OFFSET;
    } else {
        lba = static_cast<std::uint32_t>(request.addr.lba);
    }
    if (request.nframes <= 0 || request.buf == nullptr) {
        return Fail(EINVAL);
    }
    const auto blocks = static_cast<std::uint32_t>(request.nframes);
    quarnel::Command command;
    command.cdb.length = 12;
    command.cdb.bytes = {0xBE,
                         0x04,
                         static_cast<std::uint8_t>(lba >> 24),
                         static_cast<std::uint8_t>(lba >> 16),
                         static_cast<std::uint8_t>(lba >> 8),
                         static_cast<std::uint8_t>(lba),
                         static_cast<std::uint8_t>(blocks >> 16),
                         static_cast<std::uint8_t>(blocks >> 8),
                         static_cast<std::uint8_t>(blocks),
                         0x10,
                         0,
                         0};
    command.direction = quarnel::DataDirection::FromDevice;
    command.data = {request.buf, std::size_t{blocks} * kBlockBytes};
    return ServedNode::Execute(fd, command).Ok() ? 0 : Fail(EIO);
}

// The CD-ROM driver's packet interface: a 12-byte command block, its data
// and its sense, as SG_IO carries them.
int SendPacket(int fd, cdrom_generic_command& packet) {
    quarnel::Command command;
    command.cdb.length = CDROM_PACKET_SIZE;
    std::copy_n(packet.cmd, CDROM_PACKET_SIZE, command.cdb.bytes.begin());
    const bool moves = packet.buffer != nullptr && packet.buflen > 0;
    command.direction = !moves ? quarnel::DataDirection::None
                        : packet.data_direction == CGC_DATA_WRITE
                            ? quarnel::DataDirection::ToDevice
                            : quarnel::DataDirection::FromDevice;
    if (moves) {
        command.data = {packet.buffer, packet.buflen};
    }
    command.timeoutMs =
        packet.timeout > 0 ? static_cast<unsigned>(packet.timeout) : kDefaultTimeoutMs;
    const quarnel::CommandOutcome outcome = ServedNode::Execute(fd, command);
    packet.stat = outcome.scsiStatus;
    if (packet.sense != nullptr) {
        const std::size_t length =
            std::min<std::size_t>(outcome.senseLength, sizeof(request_sense));
        std::memcpy(packet.sense, outcome.sense.data(), length);
    }
    return outcome.Ok() ? 0 : Fail(EIO);
}

} // namespace

int NodeIoctl(int fd, unsigned long request, void* argument) {
    switch (request) {
    case SG_IO:
        return SgIo(fd, *static_cast<sg_io_hdr_t*>(argument));
    case SG_GET_VERSION_NUM:
        *static_cast<int*>(argument) = kSgVersion;
        return 0;
    case SG_GET_TIMEOUT:
        return g_timeoutTicks;
    case SG_SET_TIMEOUT:
        g_timeoutTicks = *static_cast<int*>(argument);
        return 0;
    case SG_GET_RESERVED_SIZE:
        *static_cast<int*>(argument) = kReservedBytes;
        return 0;
    case SG_SET_RESERVED_SIZE:
    case SG_SET_COMMAND_Q:
    case SG_SET_FORCE_PACK_ID:
    case SG_SET_DEBUG:
        return 0;
    case SG_EMULATED_HOST:
    case SG_GET_COMMAND_Q:
        *static_cast<int*>(argument) = 0;
        return 0;
    case SG_GET_SCSI_ID: {
        struct sg_scsi_id id {};
        id.host_no = kHostNumber;
        id.scsi_type = TYPE_ROM;
        id.h_cmd_per_lun = 1;
        id.d_queue_depth = 1;
        *static_cast<struct sg_scsi_id*>(argument) = id;
        return 0;
    }
    case SCSI_IOCTL_GET_IDLUN: {
        auto* idLun = static_cast<int*>(argument);
        idLun[0] = kHostNumber << 24; // id 0, lun 0, channel 0
        idLun[1] = kHostNumber;
        return 0;
    }
    case SCSI_IOCTL_GET_BUS_NUMBER:
        *static_cast<int*>(argument) = kHostNumber;
        return 0;
    case CDROM_GET_CAPABILITY:
        return CDC_CLOSE_TRAY | CDC_OPEN_TRAY | CDC_LOCK | CDC_SELECT_SPEED | CDC_MEDIA_CHANGED |
               CDC_PLAY_AUDIO | CDC_DRIVE_STATUS | CDC_GENERIC_PACKET | CDC_CD_R | CDC_CD_RW |
               CDC_DVD | CDC_MRW | CDC_MRW_W | CDC_RAM;
    case CDROM_DRIVE_STATUS:
        return DriveStatus(fd);
    case CDROM_LOCKDOOR:
        return Run(fd, {0x1E, 0, 0, 0, static_cast<std::uint8_t>(argument != nullptr ? 1 : 0), 0})
                   ? 0
                   : Fail(EBUSY);
    case CDROMEJECT:
        return Run(fd, {0x1B, 0, 0, 0, 0x02, 0}) ? 0 : Fail(EBUSY);
    case CDROMCLOSETRAY:
        return Run(fd, {0x1B, 0, 0, 0, 0x03, 0}) ? 0 : Fail(EIO);
    case CDROM_MEDIA_CHANGED:
        return 0;
    case CDROMREADTOCHDR:
        return TocHeader(fd, *static_cast<cdrom_tochdr*>(argument));
    case CDROMREADTOCENTRY:
        return TocEntry(fd, *static_cast<cdrom_tocentry*>(argument));
    case CDROMMULTISESSION:
        return MultiSession(fd, *static_cast<cdrom_multisession*>(argument));
    case CDROM_SELECT_SPEED: {
        // 0 or less: as fast as the drive reads.
        const auto speedX = reinterpret_cast<std::intptr_t>(argument);
        const auto kBps = static_cast<std::uint16_t>(speedX <= 0 ? 0xFFFF : speedX * 176);
        return Run(fd, {0xBB, 0, static_cast<std::uint8_t>(kBps >> 8),
                        static_cast<std::uint8_t>(kBps), 0xFF, 0xFF, 0, 0, 0, 0, 0, 0})
                   ? 0
                   : Fail(EIO);
    }
    case CDROM_SEND_PACKET:
        return SendPacket(fd, *static_cast<cdrom_generic_command*>(argument));
    case CDROMREADAUDIO:
        return ReadAudio(fd, *static_cast<cdrom_read_audio*>(argument));
    default:
        if (ServedNode::Tracing()) {
            std::fprintf(stderr, "sondrel preload: ioctl %#lx not served\n", request);
        }
        return Fail(ENOTTY);
    }
}

} // namespace preload
