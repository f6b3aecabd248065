#pragma once
// Serves one drive on a Unix stream socket: every connection is one open
// device node of a program using the preload library, and sends command
// frames (ServeFrames.h) that run on the drive one at a time, in the order
// they arrive. The drive is used from the serving thread only.

#include "components/quarnel/Transport.h"

#include <atomic>
#include <filesystem>
#include <string>

namespace quarnel::serve {

class DriveServer {
public:
    DriveServer(Transport& drive, std::filesystem::path socketPath);
    ~DriveServer();
    DriveServer(const DriveServer&) = delete;
    DriveServer& operator=(const DriveServer&) = delete;

    // Creates the socket (replacing a stale one); false with `error` set when
    // it cannot.
    [[nodiscard]] bool Listen(std::string& error);
    // Answers connections until `stop` turns true (checked at least every
    // 200 ms); removes the socket before it returns.
    void Run(const std::atomic<bool>& stop);

private:
    // False when the connection is finished (closed, or a malformed frame).
    bool AnswerOne(int client);

    Transport& m_drive;
    const std::filesystem::path m_socketPath;
    int m_listener = -1;
};

} // namespace quarnel::serve
