#pragma once
// Ctrl-C (SIGINT), SIGTERM and SIGHUP (the terminal closed) as a request to stop, for commands that
// run until stopped: while an object lives, the signals set a flag the command's loop looks at, so
// it can finish its files (headers included) and end.

namespace cli {

class StopSignals {
public:
    StopSignals();
    ~StopSignals();
    StopSignals(const StopSignals&) = delete;
    StopSignals& operator=(const StopSignals&) = delete;

    // True once one of the signals came.
    [[nodiscard]] bool Requested() const;
};

} // namespace cli
