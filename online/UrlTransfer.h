#pragma once
// One HTTP(S) GET over libcurl, read by pulling: the caller asks for the
// reply's header, then for the body piece by piece. The transfer runs on the
// caller's thread inside those calls, holding at most one delivery of body
// bytes (libcurl is paused until the caller has taken them).

#include "online/HttpReplyHeaders.h"
#include "online/InternetTimeouts.h"

#include <cstddef>
#include <cstdint>
#include <string>

#include <curl/curl.h>

namespace online {

class UrlTransfer {
public:
    struct Request {
        std::string url;
        std::string agent;
        std::string extraHeaders; // lines separated by "\r\n"
        bool bypassCaches = false;
        InternetTimeouts timeouts;
        long deadlineMs = 0; // the whole transfer's; 0 for none
    };

    explicit UrlTransfer(const Request& request);
    ~UrlTransfer();
    UrlTransfer(const UrlTransfer&) = delete;
    UrlTransfer& operator=(const UrlTransfer&) = delete;

    // Runs the transfer until the final reply's header is in. Returns 0, or
    // the Internet error number when no header came.
    std::uint32_t AwaitHeader();

    const HttpReplyHeaders& Reply() const { return m_reply; }

    // Copies up to `size` bytes of body into `buffer` and sets `got`; 0 bytes
    // at the end of the body. Returns 0, or the Internet error number of a
    // transfer that ended badly.
    std::uint32_t Read(char* buffer, size_t size, size_t& got);

private:
    static size_t OnHeaderLine(char* data, size_t itemSize, size_t count, void* self);
    static size_t OnBody(char* data, size_t itemSize, size_t count, void* self);
    // Lets libcurl work once: send, receive, or wait up to a short poll.
    void Step();
    std::uint32_t ResultError() const;

    CURL* m_easy = nullptr;
    CURLM* m_multi = nullptr;
    curl_slist* m_requestHeaders = nullptr;
    HttpReplyHeaders m_reply;
    std::string m_body;       // the body bytes delivered and not yet read
    size_t m_bodyReadPos = 0; // how much of m_body has been read
    bool m_paused = false;    // libcurl holds back the next delivery
    bool m_done = false;      // the transfer has ended, well or badly
    CURLcode m_result = CURLE_OK;
};

} // namespace online
