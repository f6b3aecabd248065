#include "tests/support/LocalHttpServer.h"

#include <httplib.h>

#include <chrono>

namespace testsupport {

namespace {

// The longest a stalled reply holds its connection, should a test forget to
// end the server.
constexpr std::chrono::seconds kLongestStall{60};
constexpr size_t kHugeBytes = size_t{10} << 30;
constexpr std::chrono::milliseconds kDripPause{100};

// The whole body in chunked transfer coding: no length of its own.
void SendChunked(httplib::Response& response, const std::string& body) {
    response.set_chunked_content_provider("application/octet-stream",
                                          [body](size_t, httplib::DataSink& sink) {
                                              sink.write(body.data(), body.size());
                                              sink.done();
                                              return true;
                                          });
}

} // namespace

LocalHttpServer::LocalHttpServer() : m_server(std::make_unique<httplib::Server>()) {
    m_server->Get(".*", [this](const httplib::Request& request, httplib::Response& response) {
        File file;
        {
            const std::lock_guard lock(m_mutex);
            Seen& seen = m_seen[request.path];
            ++seen.count;
            seen.headers.clear();
            for (const auto& [name, value] : request.headers) {
                seen.headers[name] = value;
            }
            const auto found = m_files.find(request.path);
            if (found == m_files.end()) {
                response.status = 404;
                return;
            }
            file = found->second;
        }
        const std::string body = file.body;
        switch (file.reply) {
        case Reply::Whole:
            response.set_content(body, "application/octet-stream");
            break;
        case Reply::NotFound:
            response.status = 404;
            response.set_content(body, "text/plain");
            break;
        case Reply::NoContentLength:
            SendChunked(response, body);
            break;
        case Reply::ZeroLength:
            response.set_content("", "application/octet-stream");
            break;
        case Reply::Short:
        case Reply::Stall:
            response.set_content_provider(
                body.size(), "application/octet-stream",
                [this, body, stall = file.reply == Reply::Stall](size_t offset, size_t,
                                                                 httplib::DataSink& sink) {
                    if (offset == 0) {
                        sink.write(body.data(), body.size() / 2);
                        return true;
                    }
                    if (stall) {
                        AwaitStop();
                    }
                    return false; // ends the connection short of the length
                });
            break;
        case Reply::Redirect:
            response.set_redirect(body);
            break;
        case Reply::Forbidden:
        case Reply::ServerError:
            response.status = file.reply == Reply::Forbidden ? 403 : 500;
            response.set_content(body, "application/octet-stream");
            break;
        case Reply::Longer:
            response.set_header("Content-Length", "5");
            SendChunked(response, body);
            break;
        case Reply::Huge:
            response.set_content_provider(kHugeBytes, "application/octet-stream",
                                          [body](size_t offset, size_t, httplib::DataSink& sink) {
                                              return offset == 0 &&
                                                     sink.write(body.data(), body.size());
                                          });
            break;
        case Reply::Drip:
            response.set_content_provider(
                body.size(), "application/octet-stream",
                [this, body](size_t offset, size_t, httplib::DataSink& sink) {
                    std::unique_lock lock(m_mutex);
                    m_stopping.wait_for(lock, kDripPause, [this] { return m_stopped; });
                    return !m_stopped && sink.write(body.data() + offset, 1);
                });
            break;
        }
    });
    m_port = m_server->bind_to_any_port("127.0.0.1");
    if (m_port > 0) {
        m_listener = std::thread([this] { m_server->listen_after_bind(); });
        for (int attempt = 0; attempt < 5000 && !m_server->is_running(); ++attempt) {
            std::this_thread::sleep_for(std::chrono::milliseconds(1));
        }
    }
}

LocalHttpServer::~LocalHttpServer() {
    {
        const std::lock_guard lock(m_mutex);
        m_stopped = true;
    }
    m_stopping.notify_all();
    m_server->stop();
    if (m_listener.joinable()) {
        m_listener.join();
    }
}

std::string LocalHttpServer::Address() const {
    return m_port > 0 ? "http://127.0.0.1:" + std::to_string(m_port) : std::string();
}

void LocalHttpServer::Serve(const std::string& path, const std::string& body, Reply reply) {
    const std::lock_guard lock(m_mutex);
    m_files[path] = {body, reply};
}

int LocalHttpServer::RequestCount(const std::string& path) const {
    const std::lock_guard lock(m_mutex);
    const auto found = m_seen.find(path);
    return found == m_seen.end() ? 0 : found->second.count;
}

std::string LocalHttpServer::LastRequestHeader(const std::string& path,
                                               const std::string& name) const {
    const std::lock_guard lock(m_mutex);
    const auto found = m_seen.find(path);
    if (found == m_seen.end()) {
        return {};
    }
    const auto header = found->second.headers.find(name);
    return header == found->second.headers.end() ? std::string() : header->second;
}

void LocalHttpServer::AwaitStop() {
    std::unique_lock lock(m_mutex);
    m_stopping.wait_for(lock, kLongestStall, [this] { return m_stopped; });
}

} // namespace testsupport
