#include "online/DownloadFile.h"

#include "online/DecimalText.h"
#include "online/FoundUrl.h"
#include "util/FileExists.h"
#include "util/FileSize.h"

#include <algorithm>
#include <array>
#include <cerrno>
#include <cstdio>
#include <fcntl.h>
#include <unistd.h>

namespace online {

namespace {

constexpr DWORD kContentLengthBufferBytes = 256;
constexpr std::int64_t kChunkBytes = 1024;

// The announced body length; 0 when it is missing or unreadable.
std::int64_t ContentLength(HINTERNET url) {
    std::array<char, kContentLengthBufferBytes> text{};
    DWORD length = kContentLengthBufferBytes;
    if (!HttpQueryInfoA(url, HTTP_QUERY_CONTENT_LENGTH, text.data(), &length, nullptr)) {
        return 0;
    }
    return DecimalValue(std::string_view(text.data(), length));
}

bool WriteAll(int fd, const char* data, size_t size) {
    while (size > 0) {
        const ssize_t written = ::write(fd, data, size);
        if (written < 0 && errno == EINTR) {
            continue;
        }
        if (written <= 0) {
            return false;
        }
        data += written;
        size -= static_cast<size_t>(written);
    }
    return true;
}

// Copies the body into `fd`: true when exactly `contentLength` bytes came. One
// byte more than is still due is asked for, so a body longer than announced
// is noticed without writing any of its excess.
bool CopyBody(HINTERNET url, int fd, std::int64_t contentLength) {
    std::array<char, kChunkBytes> chunk{};
    std::int64_t written = 0;
    for (;;) {
        const auto wanted = static_cast<DWORD>(std::min(kChunkBytes, contentLength - written + 1));
        DWORD got = 0;
        if (!InternetReadFile(url, chunk.data(), wanted, &got)) {
            return false;
        }
        if (got == 0) {
            return written == contentLength;
        }
        if (written + got > contentLength || !WriteAll(fd, chunk.data(), got)) {
            return false;
        }
        written += got;
    }
}

} // namespace

bool DownloadFile(const std::string& url, const std::string& localPath,
                  const DownloadLimits& limits) {
    std::string address = url;
    std::replace(address.begin(), address.end(), '\\', '/');
    std::optional<FoundUrl> found = OpenFoundUrl(address, limits.deadlineMs);
    if (!found) {
        return false;
    }
    const std::int64_t contentLength = ContentLength(found->url.Get());
    if (contentLength <= 0 || contentLength > limits.maxBytes) {
        return false;
    }
    if (util::FileExists(localPath.c_str())) {
        if (util::FileSize(localPath) == static_cast<std::uint64_t>(contentLength)) {
            return false; // taken to be current: left alone
        }
        std::remove(localPath.c_str());
    }
    // Whatever appeared under the name since it was removed is not followed
    // nor overwritten: the download then fails.
    const int fd = ::open(localPath.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC,
                          limits.runnable ? 0777 : 0666);
    if (fd < 0) {
        return false;
    }
    const bool copied = CopyBody(found->url.Get(), fd, contentLength);
    const bool closed = ::close(fd) == 0;
    if (!copied || !closed) {
        std::remove(localPath.c_str());
        return false;
    }
    return true;
}

} // namespace online
