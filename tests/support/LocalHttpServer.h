#pragma once
// A real HTTP server on 127.0.0.1 (a free port) inside the test process, with
// files that answer in a chosen way: whole, with an error status, without
// Content-Length, with a length of 0, shorter or longer than announced, far
// too large, dripping, stalling half way, or redirected.
// Files may be changed while it runs; it counts the requests per path.

#include <condition_variable>
#include <map>
#include <memory>
#include <mutex>
#include <string>
#include <thread>

namespace httplib {
class Server;
}

namespace testsupport {

class LocalHttpServer {
public:
    enum class Reply {
        Whole,
        NotFound,
        NoContentLength,
        ZeroLength,
        // Announces the whole length, sends half and closes the connection.
        Short,
        // Announces the whole length, sends half and then nothing until the
        // server stops.
        Stall,
        // A redirect to the path held as the body.
        Redirect,
        // The body as an error page with status 403 or 500.
        Forbidden,
        ServerError,
        // Announces 5 bytes, then sends the whole body in chunks.
        Longer,
        // Announces 10 GB, sends the body and closes the connection.
        Huge,
        // Announces the whole length and sends one byte every 100 ms.
        Drip,
    };

    LocalHttpServer();
    ~LocalHttpServer();
    LocalHttpServer(const LocalHttpServer&) = delete;
    LocalHttpServer& operator=(const LocalHttpServer&) = delete;

    // "http://127.0.0.1:<port>"; empty when the server could not start.
    std::string Address() const;

    // Serves `body` at `path` (as the client sends it, e.g. "/a//b.ini").
    void Serve(const std::string& path, const std::string& body, Reply reply = Reply::Whole);

    int RequestCount(const std::string& path) const;
    // The value of request header `name` in the last request for `path`.
    std::string LastRequestHeader(const std::string& path, const std::string& name) const;

private:
    struct File {
        std::string body;
        Reply reply = Reply::Whole;
    };
    struct Seen {
        int count = 0;
        std::map<std::string, std::string> headers;
    };
    // Waits until the server stops (bounded, so a test never hangs here).
    void AwaitStop();

    std::unique_ptr<httplib::Server> m_server;
    std::thread m_listener;
    int m_port = -1;
    mutable std::mutex m_mutex;
    std::condition_variable m_stopping;
    bool m_stopped = false;
    std::map<std::string, File> m_files;
    std::map<std::string, Seen> m_seen;
};

} // namespace testsupport
