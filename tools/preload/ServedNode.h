#pragma once
// The device node a program opens in place of a drive, as the preload library
// stands it in: SONDREL_DEVICE_NODE names its path (a /dev/srN that need not
// exist) and SONDREL_DEVICE_SOCKET the socket of `sondrel-cli drive serve`.
// Every open of the node is one connection to the server; the connection's
// socket is the descriptor the program gets back.

#include "components/quarnel/Transport.h"

#include <sys/stat.h>

#include <cstdint>
#include <span>

namespace preload {

class ServedNode {
public:
    // True when both variables are set and `path` is the node.
    [[nodiscard]] static bool Is(const char* path);
    // A new connection to the server; -1 with errno set when there is none.
    [[nodiscard]] static int Connect();
    // What stat says of the node: a block device of the SCSI CD-ROM driver
    // with the minor number of its name.
    static void Describe(struct stat& info);

    // SONDREL_DEVICE_TRACE is set: requests the node does not serve are told on stderr.
    [[nodiscard]] static bool Tracing();

    // Descriptors that are connections of the node.
    [[nodiscard]] static bool Owns(int fd);
    static void Adopt(int fd);
    static void Forget(int fd);

    // Runs one command through the connection; hostError set when the server
    // could not be reached.
    [[nodiscard]] static quarnel::CommandOutcome Execute(int fd, const quarnel::Command& command);
};

} // namespace preload
