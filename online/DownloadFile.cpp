#include "online/DownloadFile.h"

#include "online/DecimalText.h"
#include "online/FoundUrl.h"
#include "util/FileExists.h"
#include "util/FileSize.h"

#include <algorithm>
#include <array>
#include <cstdio>
#include <memory>

namespace online {

namespace {

constexpr DWORD kContentLengthBufferBytes = 256;
constexpr DWORD kChunkBytes = 1024;

struct FileCloser {
    void operator()(std::FILE* file) const { std::fclose(file); }
};

// The announced body length; 0 when it is missing or unreadable.
std::int64_t ContentLength(HINTERNET url) {
    std::array<char, kContentLengthBufferBytes> text{};
    DWORD length = kContentLengthBufferBytes;
    if (!HttpQueryInfoA(url, HTTP_QUERY_CONTENT_LENGTH, text.data(), &length, nullptr)) {
        return 0;
    }
    return DecimalValue(std::string_view(text.data(), length));
}

} // namespace

bool DownloadFile(const std::string& url, const std::string& localPath) {
    std::string address = url;
    std::replace(address.begin(), address.end(), '\\', '/');
    std::optional<FoundUrl> found = OpenFoundUrl(address);
    if (!found) {
        return false;
    }
    const std::int64_t contentLength = ContentLength(found->url.Get());
    if (contentLength <= 0) {
        return false;
    }
    if (util::FileExists(localPath.c_str())) {
        if (util::FileSize(localPath) == static_cast<std::uint64_t>(contentLength)) {
            return false; // taken to be current: left alone
        }
        std::remove(localPath.c_str());
    }
    const std::unique_ptr<std::FILE, FileCloser> file(std::fopen(localPath.c_str(), "wb"));
    if (!file) {
        return false;
    }
    std::array<char, kChunkBytes> chunk{};
    std::int64_t written = 0;
    DWORD got = 0;
    while (InternetReadFile(found->url.Get(), chunk.data(), kChunkBytes, &got) && got > 0) {
        written += static_cast<std::int64_t>(std::fwrite(chunk.data(), 1, got, file.get()));
    }
    return written == contentLength;
}

} // namespace online
