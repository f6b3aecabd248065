#pragma once
// The first steps of every fetch: a session with the agent "my_down", the
// address opened past every cache, and its status code asked for. An address
// the server answers with anything but a 2xx status counts as not found: an
// error page is never taken for the file.

#include "online/InternetHandle.h"

#include <optional>
#include <string>

namespace online {

struct FoundUrl {
    InternetHandle session;
    InternetHandle url;
};

// The open handles, or nothing when the session or the address could not be
// opened, the status could not be read, or it is not 2xx. The whole transfer,
// header and body, must be over within `deadlineMs`.
std::optional<FoundUrl> OpenFoundUrl(const std::string& url, long deadlineMs);

} // namespace online
