#include "online/UrlTransfer.h"

#include "online/InternetApi.h"

#include <algorithm>
#include <cstring>
#include <string_view>

namespace online {

namespace {

// How long one step waits for the connection to have something for us. The
// time-outs proper are libcurl's; this only paces the loop.
constexpr int kPollMs = 100;

} // namespace

UrlTransfer::UrlTransfer(const Request& request) {
    m_easy = curl_easy_init();
    m_multi = curl_multi_init();
    if (m_easy == nullptr || m_multi == nullptr) {
        m_done = true;
        m_result = CURLE_FAILED_INIT;
        return;
    }
    curl_easy_setopt(m_easy, CURLOPT_URL, request.url.c_str());
    curl_easy_setopt(m_easy, CURLOPT_USERAGENT, request.agent.c_str());
    curl_easy_setopt(m_easy, CURLOPT_PROTOCOLS_STR, "http,https");
    curl_easy_setopt(m_easy, CURLOPT_REDIR_PROTOCOLS_STR, "http,https");
    curl_easy_setopt(m_easy, CURLOPT_FOLLOWLOCATION, 1L);
    curl_easy_setopt(m_easy, CURLOPT_MAXREDIRS, 10L);
    curl_easy_setopt(m_easy, CURLOPT_NOSIGNAL, 1L);
    curl_easy_setopt(m_easy, CURLOPT_CONNECTTIMEOUT_MS, request.timeouts.connectTimeoutMs);
    curl_easy_setopt(m_easy, CURLOPT_LOW_SPEED_LIMIT, 1L);
    curl_easy_setopt(m_easy, CURLOPT_LOW_SPEED_TIME, request.timeouts.stallTimeoutSeconds);
    curl_easy_setopt(m_easy, CURLOPT_TIMEOUT_MS, request.deadlineMs);
    curl_easy_setopt(m_easy, CURLOPT_HEADERFUNCTION, &UrlTransfer::OnHeaderLine);
    curl_easy_setopt(m_easy, CURLOPT_HEADERDATA, this);
    curl_easy_setopt(m_easy, CURLOPT_WRITEFUNCTION, &UrlTransfer::OnBody);
    curl_easy_setopt(m_easy, CURLOPT_WRITEDATA, this);

    std::string_view lines = request.extraHeaders;
    while (!lines.empty()) {
        const size_t end = std::min(lines.find("\r\n"), lines.size());
        if (end > 0) {
            m_requestHeaders =
                curl_slist_append(m_requestHeaders, std::string(lines.substr(0, end)).c_str());
        }
        lines.remove_prefix(std::min(end + 2, lines.size()));
    }
    if (request.bypassCaches) {
        m_requestHeaders = curl_slist_append(m_requestHeaders, "Cache-Control: no-cache");
        m_requestHeaders = curl_slist_append(m_requestHeaders, "Pragma: no-cache");
    }
    curl_easy_setopt(m_easy, CURLOPT_HTTPHEADER, m_requestHeaders);
    curl_multi_add_handle(m_multi, m_easy);
}

UrlTransfer::~UrlTransfer() {
    if (m_multi != nullptr && m_easy != nullptr) {
        curl_multi_remove_handle(m_multi, m_easy);
    }
    if (m_easy != nullptr) {
        curl_easy_cleanup(m_easy);
    }
    if (m_multi != nullptr) {
        curl_multi_cleanup(m_multi);
    }
    curl_slist_free_all(m_requestHeaders);
}

std::uint32_t UrlTransfer::AwaitHeader() {
    while (!m_reply.Complete() && !m_done) {
        Step();
    }
    if (m_reply.Complete()) {
        return ERROR_SUCCESS;
    }
    const std::uint32_t error = ResultError();
    return error != ERROR_SUCCESS ? error : ERROR_INTERNET_CONNECTION_ABORTED;
}

std::uint32_t UrlTransfer::Read(char* buffer, size_t size, size_t& got) {
    got = 0;
    if (size == 0) {
        return ERROR_SUCCESS;
    }
    while (m_bodyReadPos == m_body.size()) {
        if (m_paused) {
            m_paused = false;
            curl_easy_pause(m_easy, CURLPAUSE_CONT);
            continue;
        }
        if (m_done) {
            return ResultError();
        }
        Step();
    }
    got = std::min(size, m_body.size() - m_bodyReadPos);
    std::memcpy(buffer, m_body.data() + m_bodyReadPos, got);
    m_bodyReadPos += got;
    return ERROR_SUCCESS;
}

size_t UrlTransfer::OnHeaderLine(char* data, size_t itemSize, size_t count, void* self) {
    const size_t bytes = itemSize * count;
    static_cast<UrlTransfer*>(self)->m_reply.AddLine(std::string_view(data, bytes));
    return bytes;
}

size_t UrlTransfer::OnBody(char* data, size_t itemSize, size_t count, void* self) {
    auto* transfer = static_cast<UrlTransfer*>(self);
    if (transfer->m_bodyReadPos < transfer->m_body.size()) {
        // The last delivery has not been read yet: libcurl keeps this one
        // until the reader asks for more.
        transfer->m_paused = true;
        return CURL_WRITEFUNC_PAUSE;
    }
    transfer->m_body.assign(data, itemSize * count);
    transfer->m_bodyReadPos = 0;
    return itemSize * count;
}

void UrlTransfer::Step() {
    int running = 0;
    curl_multi_perform(m_multi, &running);
    int queued = 0;
    while (CURLMsg* message = curl_multi_info_read(m_multi, &queued)) {
        if (message->msg == CURLMSG_DONE) {
            m_done = true;
            m_result = message->data.result;
        }
    }
    if (!m_done && !m_paused) {
        curl_multi_poll(m_multi, nullptr, 0, kPollMs, nullptr);
    }
}

std::uint32_t UrlTransfer::ResultError() const {
    switch (m_result) {
    case CURLE_OK:
        return ERROR_SUCCESS;
    case CURLE_UNSUPPORTED_PROTOCOL:
        return ERROR_INTERNET_UNRECOGNIZED_SCHEME;
    case CURLE_COULDNT_RESOLVE_HOST:
    case CURLE_COULDNT_RESOLVE_PROXY:
        return ERROR_INTERNET_NAME_NOT_RESOLVED;
    case CURLE_COULDNT_CONNECT:
        return ERROR_INTERNET_CANNOT_CONNECT;
    case CURLE_OPERATION_TIMEDOUT:
        return ERROR_INTERNET_TIMEOUT;
    case CURLE_FAILED_INIT:
    case CURLE_OUT_OF_MEMORY:
        return ERROR_INTERNET_INTERNAL_ERROR;
    default:
        return ERROR_INTERNET_CONNECTION_ABORTED;
    }
}

} // namespace online
