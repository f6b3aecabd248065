#include "online/InternetApi.h"

#include "online/UrlTransfer.h"

#include <cstring>
#include <map>
#include <memory>
#include <mutex>
#include <optional>
#include <string>

namespace online {

// A session holds its agent name; an address handle its transfer.
struct InternetObject {
    std::string agent;
    long deadlineMs = 0;
    std::unique_ptr<UrlTransfer> transfer;
};

namespace {

thread_local DWORD g_lastError = ERROR_SUCCESS;

// The handles that are open. Unknown or closed handles are refused instead of
// followed. The table is never destroyed, so a download thread still running
// while the process ends does not meet a destroyed table.
class OpenHandles {
public:
    HINTERNET Add(std::unique_ptr<InternetObject> object) {
        const HINTERNET handle = object.get();
        const std::lock_guard lock(m_mutex);
        m_objects.emplace(handle, std::move(object));
        return handle;
    }
    InternetObject* Find(HINTERNET handle) const {
        const std::lock_guard lock(m_mutex);
        return m_objects.contains(handle) ? handle : nullptr;
    }
    std::unique_ptr<InternetObject> Remove(HINTERNET handle) {
        const std::lock_guard lock(m_mutex);
        const auto found = m_objects.find(handle);
        if (found == m_objects.end()) {
            return nullptr;
        }
        std::unique_ptr<InternetObject> object = std::move(found->second);
        m_objects.erase(found);
        return object;
    }

private:
    mutable std::mutex m_mutex;
    std::map<HINTERNET, std::unique_ptr<InternetObject>> m_objects;
};

OpenHandles& Handles() {
    static auto* handles = new OpenHandles;
    return *handles;
}

bool Fail(DWORD error) {
    g_lastError = error;
    return false;
}

std::once_flag g_curlInitialised;

bool IsWebAddress(const std::string& url) {
    const auto startsWithNoCase = [&url](std::string_view prefix) {
        return url.size() >= prefix.size() &&
               strncasecmp(url.c_str(), prefix.data(), prefix.size()) == 0;
    };
    return startsWithNoCase("http://") || startsWithNoCase("https://");
}

// The text of a reply field, or nothing when the reply has no such field.
std::optional<std::string> ReplyField(const UrlTransfer& transfer, DWORD infoLevel) {
    if (infoLevel == HTTP_QUERY_STATUS_CODE) {
        return transfer.Reply().StatusText();
    }
    return transfer.Reply().Value("Content-Length");
}

} // namespace

HINTERNET InternetOpenA(const char* agent, DWORD /*accessType*/, const char* /*proxy*/,
                        const char* /*proxyBypass*/, DWORD /*flags*/) {
    std::call_once(g_curlInitialised, [] { curl_global_init(CURL_GLOBAL_DEFAULT); });
    auto session = std::make_unique<InternetObject>();
    session->agent = agent != nullptr ? agent : "";
    g_lastError = ERROR_SUCCESS;
    return Handles().Add(std::move(session));
}

bool InternetSetTransferDeadline(HINTERNET session, long totalMs) {
    InternetObject* owner = Handles().Find(session);
    if (owner == nullptr) {
        return Fail(ERROR_INVALID_HANDLE);
    }
    if (owner->transfer || totalMs < 0) {
        return Fail(owner->transfer ? ERROR_INTERNET_INCORRECT_HANDLE_TYPE
                                    : ERROR_INVALID_PARAMETER);
    }
    owner->deadlineMs = totalMs;
    g_lastError = ERROR_SUCCESS;
    return true;
}

HINTERNET InternetOpenUrlA(HINTERNET session, const char* url, const char* headers,
                           DWORD headersLength, DWORD flags, std::uintptr_t /*context*/) {
    const InternetObject* owner = Handles().Find(session);
    if (owner == nullptr) {
        Fail(ERROR_INVALID_HANDLE);
        return nullptr;
    }
    if (owner->transfer) {
        Fail(ERROR_INTERNET_INCORRECT_HANDLE_TYPE);
        return nullptr;
    }
    if (url == nullptr || !IsWebAddress(url)) {
        Fail(ERROR_INTERNET_UNRECOGNIZED_SCHEME);
        return nullptr;
    }
    UrlTransfer::Request request;
    request.url = url;
    request.agent = owner->agent;
    if (headers != nullptr) {
        request.extraHeaders = headersLength == static_cast<DWORD>(-1)
                                   ? std::string(headers)
                                   : std::string(headers, ::strnlen(headers, headersLength));
    }
    request.bypassCaches = (flags & INTERNET_FLAG_RELOAD) != 0;
    request.timeouts = GetInternetTimeouts();
    request.deadlineMs = owner->deadlineMs;
    auto transfer = std::make_unique<UrlTransfer>(request);
    if (const DWORD error = transfer->AwaitHeader(); error != ERROR_SUCCESS) {
        Fail(error);
        return nullptr;
    }
    auto object = std::make_unique<InternetObject>();
    object->transfer = std::move(transfer);
    g_lastError = ERROR_SUCCESS;
    return Handles().Add(std::move(object));
}

bool HttpQueryInfoA(HINTERNET url, DWORD infoLevel, void* buffer, DWORD* bufferLength,
                    DWORD* /*index*/) {
    const InternetObject* object = Handles().Find(url);
    if (object == nullptr) {
        return Fail(ERROR_INVALID_HANDLE);
    }
    if (!object->transfer) {
        return Fail(ERROR_INTERNET_INCORRECT_HANDLE_TYPE);
    }
    if (bufferLength == nullptr ||
        (infoLevel != HTTP_QUERY_STATUS_CODE && infoLevel != HTTP_QUERY_CONTENT_LENGTH)) {
        return Fail(ERROR_INVALID_PARAMETER);
    }
    const std::optional<std::string> text = ReplyField(*object->transfer, infoLevel);
    if (!text) {
        return Fail(ERROR_HTTP_HEADER_NOT_FOUND);
    }
    if (buffer == nullptr || *bufferLength < text->size() + 1) {
        *bufferLength = static_cast<DWORD>(text->size() + 1);
        return Fail(ERROR_INSUFFICIENT_BUFFER);
    }
    std::memcpy(buffer, text->c_str(), text->size() + 1);
    *bufferLength = static_cast<DWORD>(text->size());
    g_lastError = ERROR_SUCCESS;
    return true;
}

bool InternetReadFile(HINTERNET url, void* buffer, DWORD bytesToRead, DWORD* bytesRead) {
    InternetObject* object = Handles().Find(url);
    if (object == nullptr) {
        return Fail(ERROR_INVALID_HANDLE);
    }
    if (!object->transfer) {
        return Fail(ERROR_INTERNET_INCORRECT_HANDLE_TYPE);
    }
    if (bytesRead == nullptr || (buffer == nullptr && bytesToRead > 0)) {
        return Fail(ERROR_INVALID_PARAMETER);
    }
    size_t got = 0;
    const DWORD error = object->transfer->Read(static_cast<char*>(buffer), bytesToRead, got);
    *bytesRead = static_cast<DWORD>(got);
    if (error != ERROR_SUCCESS) {
        return Fail(error);
    }
    g_lastError = ERROR_SUCCESS;
    return true;
}

bool InternetCloseHandle(HINTERNET handle) {
    if (!Handles().Remove(handle)) {
        return Fail(ERROR_INVALID_HANDLE);
    }
    g_lastError = ERROR_SUCCESS;
    return true;
}

DWORD GetLastInternetError() {
    return g_lastError;
}

} // namespace online
