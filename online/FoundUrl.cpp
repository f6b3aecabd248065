#include "online/FoundUrl.h"

#include "online/DecimalText.h"

#include <string_view>
#include <vector>

namespace online {

namespace {

// The status code as text: first the length it needs, then the text itself.
std::optional<std::string> QueryStatusText(HINTERNET url) {
    DWORD length = 0;
    if (HttpQueryInfoA(url, HTTP_QUERY_STATUS_CODE, nullptr, &length, nullptr) ||
        GetLastInternetError() != ERROR_INSUFFICIENT_BUFFER) {
        return std::nullopt;
    }
    std::vector<char> text(length, '\0');
    if (!HttpQueryInfoA(url, HTTP_QUERY_STATUS_CODE, text.data(), &length, nullptr)) {
        return std::nullopt;
    }
    return std::string(text.data(), length);
}

} // namespace

std::optional<FoundUrl> OpenFoundUrl(const std::string& url, long deadlineMs) {
    FoundUrl found;
    found.session =
        InternetHandle(InternetOpenA("my_down", INTERNET_OPEN_TYPE_PRECONFIG, nullptr, nullptr, 0));
    if (!found.session || !InternetSetTransferDeadline(found.session.Get(), deadlineMs)) {
        return std::nullopt;
    }
    found.url = InternetHandle(
        InternetOpenUrlA(found.session.Get(), url.c_str(), nullptr, 0, INTERNET_FLAG_RELOAD, 0));
    if (!found.url) {
        return std::nullopt;
    }
    const std::optional<std::string> status = QueryStatusText(found.url.Get());
    const std::int64_t code = status ? DecimalValue(*status) : 0;
    if (code < 200 || code > 299) {
        return std::nullopt;
    }
    return found;
}

} // namespace online
