#pragma once
// How long a transfer may take to connect and how long it may stall, for every
// address opened from then on. A dead or stalling server thus ends a transfer
// with an error instead of keeping its thread forever.

namespace online {

struct InternetTimeouts {
    long connectTimeoutMs = 15000;
    // A transfer whose speed stays below one byte a second for this long is
    // ended. libcurl measures the speed over the last five seconds, so a
    // transfer that stalls after a burst ends up to five seconds later.
    long stallTimeoutSeconds = 30;
};

InternetTimeouts GetInternetTimeouts();
void SetInternetTimeouts(const InternetTimeouts& timeouts);

} // namespace online
