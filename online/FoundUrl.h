#pragma once
// The first steps of every fetch: a session with the agent "my_down", the
// address opened past every cache, and its status code asked for. An address
// the server answers with 404 counts as not found.

#include "online/InternetHandle.h"

#include <optional>
#include <string>

namespace online {

struct FoundUrl {
    InternetHandle session;
    InternetHandle url;
};

// The open handles, or nothing when the session or the address could not be
// opened, the status could not be read, or it is 404.
std::optional<FoundUrl> OpenFoundUrl(const std::string& url);

} // namespace online
