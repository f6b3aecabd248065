#include "tools/preload/ServedNode.h"

#include "components/quarnel/serve/ServeFrames.h"
#include "components/quarnel/serve/SocketIo.h"

#include <sys/socket.h>
#include <sys/sysmacros.h>
#include <sys/un.h>
#include <unistd.h>

#include <array>
#include <atomic>
#include <cerrno>
#include <cstdlib>
#include <cstring>

namespace preload {

namespace {

constexpr unsigned kScsiCdromMajor = 11;
constexpr std::uint32_t kHostErrorUnreachable = 0x00010000;
// Descriptors below this can be connections of the node; a program holding
// more open files than this gets the node refused (EMFILE) rather than missed.
constexpr int kMaxDescriptors = 4096;
// relaxed: each flag is set before the descriptor is handed to the program and
// cleared before it is closed, on the thread that owns the descriptor.
std::array<std::atomic<bool>, kMaxDescriptors> g_owned{};

// A variable of the environment, or null. The variables are set before the
// program starts and nothing here changes them, so any thread may read them.
const char* Variable(const char* name) {
    return std::getenv(name); // NOLINT(concurrency-mt-unsafe)
}

const char* NodePath() {
    return Variable("SONDREL_DEVICE_NODE");
}

} // namespace

bool ServedNode::Is(const char* path) {
    const char* node = NodePath();
    return path != nullptr && node != nullptr && Variable("SONDREL_DEVICE_SOCKET") != nullptr &&
           std::strcmp(path, node) == 0;
}

int ServedNode::Connect() {
    const char* socketPath = Variable("SONDREL_DEVICE_SOCKET");
    sockaddr_un address{};
    address.sun_family = AF_UNIX;
    if (socketPath == nullptr || std::strlen(socketPath) >= sizeof(address.sun_path)) {
        errno = ENOENT;
        return -1;
    }
    std::strcpy(address.sun_path, socketPath);
    const int fd = ::socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0);
    if (fd < 0) {
        return -1;
    }
    if (fd >= kMaxDescriptors) {
        ::close(fd);
        errno = EMFILE;
        return -1;
    }
    if (::connect(fd, reinterpret_cast<const sockaddr*>(&address), sizeof(address)) != 0) {
        ::close(fd);
        errno = ENXIO; // as for a device node without a device behind it
        return -1;
    }
    Adopt(fd);
    return fd;
}

void ServedNode::Describe(struct stat& info) {
    info = {};
    const char* node = NodePath();
    const char* digits = node == nullptr ? nullptr : std::strpbrk(node, "0123456789");
    const unsigned minor = digits == nullptr ? 0 : static_cast<unsigned>(std::atoi(digits));
    info.st_mode = S_IFBLK | 0660;
    info.st_rdev = makedev(kScsiCdromMajor, minor);
    info.st_nlink = 1;
    info.st_uid = ::getuid();
    info.st_gid = ::getgid();
    info.st_blksize = 2048;
}

bool ServedNode::Tracing() {
    return Variable("SONDREL_DEVICE_TRACE") != nullptr;
}

bool ServedNode::Owns(int fd) {
    return fd >= 0 && fd < kMaxDescriptors && g_owned[fd].load(std::memory_order_relaxed);
}

void ServedNode::Adopt(int fd) {
    g_owned[fd].store(true, std::memory_order_relaxed);
}

void ServedNode::Forget(int fd) {
    if (fd >= 0 && fd < kMaxDescriptors) {
        g_owned[fd].store(false, std::memory_order_relaxed);
    }
}

quarnel::CommandOutcome ServedNode::Execute(int fd, const quarnel::Command& command) {
    quarnel::CommandOutcome outcome;
    outcome.hostError = kHostErrorUnreachable;
    quarnel::serve::RequestHeader request;
    request.cdb = command.cdb;
    request.direction = command.direction;
    request.transferBytes = static_cast<std::uint32_t>(command.data.size());
    request.timeoutMs = command.timeoutMs;
    if (command.data.size() > quarnel::serve::kMaxTransferBytes ||
        !quarnel::serve::SendAll(fd, quarnel::serve::EncodeRequest(request)) ||
        (command.direction == quarnel::DataDirection::ToDevice &&
         !quarnel::serve::SendAll(fd, command.data))) {
        return outcome;
    }
    std::array<std::uint8_t, quarnel::serve::kReplyHeaderBytes> header{};
    if (!quarnel::serve::ReceiveAll(fd, header)) {
        return outcome;
    }
    const auto reply = quarnel::serve::DecodeReply(header, request.transferBytes);
    if (!reply) {
        return outcome;
    }
    if (command.direction == quarnel::DataDirection::FromDevice &&
        !quarnel::serve::ReceiveAll(fd, command.data.first(reply->transferred))) {
        return outcome;
    }
    outcome.hostError = reply->hostError;
    outcome.scsiStatus = reply->scsiStatus;
    outcome.transferred = reply->transferred;
    outcome.sense = reply->sense;
    outcome.senseLength = reply->senseLength;
    return outcome;
}

} // namespace preload
