#pragma once
// The live output of a command as the output mode wants it. On a terminal the
// status line is redrawn in place ("\r") whenever it changes. Into a log or a
// pipe one plain line is written every 10 seconds and when the state changes
// (no sound arrives, or arrives again): a long take does not fill the log,
// and the log still tells what happened. --quiet shows no status at all;
// --json writes one JSON object per line on standard output, at most one a
// second besides the changes of state. Results are written in every mode: as
// text, or as JSON objects with --json.
// Not thread-safe: a caller whose reports come from several threads guards it.

#include "tools/cli/OutputMode.h"
#include "tools/cli/StatusReport.h"

#include <chrono>
#include <cstdio>
#include <string>
#include <string_view>

namespace cli {

class LiveStatus {
public:
    // The status goes to `statusOut` (a command whose standard output holds
    // its results shows its status on stderr); results and JSON go to stdout.
    LiveStatus(OutputMode mode, std::FILE* statusOut);

    // A line for a person, such as how to stop: not written with --quiet or --json.
    void Note(std::string_view text);
    // The status while the work runs.
    void Show(const StatusReport& report);
    // One line of the command's result; the status line on a terminal is
    // replaced by it.
    void Result(const StatusReport& report);
    // Clears the status line from a terminal; also done by Result.
    void End();

private:
    using Clock = std::chrono::steady_clock;
    enum class Form { Terminal, Plain, Quiet, Json };

    Form m_form;
    std::FILE* m_statusOut;
    std::string m_lastShown;    // the text or JSON last written
    std::string m_lastState;    // of the last report
    bool m_lineOpen = false;    // a terminal line waits for its redraw
    Clock::time_point m_nextAt; // the earliest time of the next plain or JSON line
};

} // namespace cli
