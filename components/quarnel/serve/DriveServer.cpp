#include "components/quarnel/serve/DriveServer.h"

#include "components/quarnel/serve/ServeFrames.h"
#include "components/quarnel/serve/SocketIo.h"

#include <poll.h>
#include <sys/socket.h>
#include <sys/un.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <system_error>
#include <vector>

namespace quarnel::serve {

namespace {

constexpr int kPollMs = 200;
constexpr int kBacklog = 8;

} // namespace

DriveServer::DriveServer(Transport& drive, std::filesystem::path socketPath)
    : m_drive(drive), m_socketPath(std::move(socketPath)) {}

DriveServer::~DriveServer() {
    if (m_listener >= 0) {
        ::close(m_listener);
    }
}

bool DriveServer::Listen(std::string& error) {
    sockaddr_un address{};
    address.sun_family = AF_UNIX;
    const std::string path = m_socketPath.string();
    if (path.size() >= sizeof(address.sun_path)) {
        error = "the socket path " + path + " is too long (at most " +
                std::to_string(sizeof(address.sun_path) - 1) + " characters)";
        return false;
    }
    std::memcpy(address.sun_path, path.c_str(), path.size() + 1);
    m_listener = ::socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0);
    if (m_listener < 0) {
        error = std::string("cannot create a socket: ") + std::generic_category().message(errno);
        return false;
    }
    ::unlink(path.c_str()); // a socket left behind by a server that was killed
    if (::bind(m_listener, reinterpret_cast<const sockaddr*>(&address), sizeof(address)) != 0 ||
        ::listen(m_listener, kBacklog) != 0) {
        error = "cannot listen on " + path + ": " + std::generic_category().message(errno);
        return false;
    }
    return true;
}

void DriveServer::Run(const std::atomic<bool>& stop) {
    std::vector<pollfd> watched{{m_listener, POLLIN, 0}};
    // relaxed: the flag only ends the loop; no data is handed over with it.
    while (!stop.load(std::memory_order_relaxed)) {
        if (::poll(watched.data(), watched.size(), kPollMs) <= 0) {
            continue;
        }
        for (std::size_t i = 1; i < watched.size(); ++i) {
            if (watched[i].revents != 0 && !AnswerOne(watched[i].fd)) {
                ::close(watched[i].fd);
                watched[i].fd = -1;
            }
        }
        std::erase_if(watched, [](const pollfd& entry) { return entry.fd < 0; });
        if ((watched[0].revents & POLLIN) != 0) {
            const int client = ::accept4(m_listener, nullptr, nullptr, SOCK_CLOEXEC);
            if (client >= 0) {
                watched.push_back({client, POLLIN, 0});
            }
        }
    }
    for (std::size_t i = 1; i < watched.size(); ++i) {
        ::close(watched[i].fd);
    }
    ::unlink(m_socketPath.c_str());
}

bool DriveServer::AnswerOne(int client) {
    std::array<std::uint8_t, kRequestHeaderBytes> header{};
    if (!ReceiveAll(client, header)) {
        return false;
    }
    const std::optional<RequestHeader> request = DecodeRequest(header);
    if (!request) {
        return false;
    }
    std::vector<std::uint8_t> data(request->transferBytes);
    if (request->direction == DataDirection::ToDevice && !ReceiveAll(client, data)) {
        return false;
    }
    Command command;
    command.cdb = request->cdb;
    command.direction = request->direction;
    command.data = data;
    command.timeoutMs = request->timeoutMs;
    const CommandOutcome outcome = m_drive.Execute(command);

    ReplyHeader reply;
    reply.scsiStatus = outcome.scsiStatus;
    reply.hostError = outcome.hostError;
    reply.sense = outcome.sense;
    reply.senseLength = outcome.senseLength;
    reply.transferred = std::min(outcome.transferred, request->transferBytes);
    const bool returnsData = request->direction == DataDirection::FromDevice;
    return SendAll(client, EncodeReply(reply)) &&
           (!returnsData || SendAll(client, std::span(data).first(reply.transferred)));
}

} // namespace quarnel::serve
