#pragma once
// The Internet client functions the online services are written against, with
// the names, flags and error numbers of the Windows Internet interface, over
// libcurl. Only http:// and https:// addresses are opened (redirects included);
// redirects are followed. Every handle is used by one thread at a time; the
// last error is kept per thread.

#include <cstdint>

namespace online {

struct InternetObject;
using HINTERNET = InternetObject*;
using DWORD = std::uint32_t;

// InternetOpenA access types and InternetOpenUrlA flags.
inline constexpr DWORD INTERNET_OPEN_TYPE_PRECONFIG = 0;
inline constexpr DWORD INTERNET_FLAG_RELOAD = 0x80000000u;

// HttpQueryInfoA information levels.
inline constexpr DWORD HTTP_QUERY_CONTENT_LENGTH = 5;
inline constexpr DWORD HTTP_QUERY_STATUS_CODE = 19;

// Errors.
inline constexpr DWORD ERROR_SUCCESS = 0;
inline constexpr DWORD ERROR_INVALID_HANDLE = 6;
inline constexpr DWORD ERROR_INVALID_PARAMETER = 87;
inline constexpr DWORD ERROR_INSUFFICIENT_BUFFER = 122;
inline constexpr DWORD ERROR_INTERNET_TIMEOUT = 12002;
inline constexpr DWORD ERROR_INTERNET_INTERNAL_ERROR = 12004;
inline constexpr DWORD ERROR_INTERNET_UNRECOGNIZED_SCHEME = 12006;
inline constexpr DWORD ERROR_INTERNET_NAME_NOT_RESOLVED = 12007;
inline constexpr DWORD ERROR_INTERNET_INCORRECT_HANDLE_TYPE = 12018;
inline constexpr DWORD ERROR_INTERNET_CANNOT_CONNECT = 12029;
inline constexpr DWORD ERROR_INTERNET_CONNECTION_ABORTED = 12030;
inline constexpr DWORD ERROR_HTTP_HEADER_NOT_FOUND = 12150;

// A session handle for `agent`. Proxy settings come from the environment
// (http_proxy, https_proxy, no_proxy) whatever the access type.
HINTERNET InternetOpenA(const char* agent, DWORD accessType, const char* proxy,
                        const char* proxyBypass, DWORD flags);

// Not in the Windows set: every address opened through `session` from now on
// ends with ERROR_INTERNET_TIMEOUT when its whole transfer, header and body,
// takes longer than `totalMs` (0: no limit besides the stall time-out).
bool InternetSetTransferDeadline(HINTERNET session, long totalMs);

// Opens `url` through `session` and returns once the reply's header is in
// (null on failure). `headers` are extra request lines separated by "\r\n";
// with INTERNET_FLAG_RELOAD no cache on the way may answer.
HINTERNET InternetOpenUrlA(HINTERNET session, const char* url, const char* headers,
                           DWORD headersLength, DWORD flags, std::uintptr_t context);

// Copies the text of a reply field into `buffer` with a terminating NUL and
// sets `*bufferLength` to its length without it. When `buffer` is too small
// (or null) it fails with ERROR_INSUFFICIENT_BUFFER and sets `*bufferLength`
// to the bytes needed, NUL included. A missing field fails with
// ERROR_HTTP_HEADER_NOT_FOUND. `index` may be null.
bool HttpQueryInfoA(HINTERNET url, DWORD infoLevel, void* buffer, DWORD* bufferLength,
                    DWORD* index);

// Reads up to `bytesToRead` bytes of the reply's body. True with 0 bytes read
// at its end; false when the transfer failed (a broken connection, a body
// shorter than announced, a stall longer than the stall time-out).
bool InternetReadFile(HINTERNET url, void* buffer, DWORD bytesToRead, DWORD* bytesRead);

// Closes a session or address handle. Closing a session does not close the
// addresses opened through it.
bool InternetCloseHandle(HINTERNET handle);

// The error of the calling thread's last failed call.
DWORD GetLastInternetError();

} // namespace online
