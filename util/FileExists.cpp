#include "util/FileExists.h"

#include <glob.h>
#include <string>
#include <string_view>

namespace util {

namespace {

bool IsBlank(std::string_view text) {
    return text.find_first_not_of(" \t\r\n\v\f") == std::string_view::npos;
}

// glob(3) also treats "[...]" as a wildcard and '\' as an escape; escaping
// both leaves '*' and '?' as the only wildcards.
std::string GlobPattern(std::string_view path) {
    std::string pattern;
    pattern.reserve(path.size());
    for (const char c : path) {
        if (c == '[' || c == '\\') {
            pattern += '\\';
        }
        pattern += c;
    }
    return pattern;
}

} // namespace

bool FileExists(const char* path) {
    if (path == nullptr || IsBlank(path)) {
        return false;
    }
    glob_t matches{};
    // GLOB_PERIOD lets a wildcard match a leading dot as well: hidden files
    // are ordinary files here. glob is thread-unsafe only through GLOB_TILDE's
    // user look-ups and changes to the environment; neither happens here.
    const std::string pattern = GlobPattern(path);
    // NOLINTNEXTLINE(concurrency-mt-unsafe)
    const int result = ::glob(pattern.c_str(), GLOB_NOSORT | GLOB_PERIOD, nullptr, &matches);
    const bool found = result == 0 && matches.gl_pathc > 0;
    ::globfree(&matches);
    return found;
}

} // namespace util
