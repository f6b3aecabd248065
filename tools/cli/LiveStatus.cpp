#include "tools/cli/LiveStatus.h"

#include <unistd.h>

namespace cli {

namespace {

constexpr auto kPlainInterval = std::chrono::seconds(10);
constexpr auto kJsonInterval = std::chrono::seconds(1);

} // namespace

LiveStatus::LiveStatus(OutputMode mode, std::FILE* statusOut)
    : m_form(mode == OutputMode::Quiet        ? Form::Quiet
             : mode == OutputMode::Json       ? Form::Json
             : isatty(fileno(statusOut)) != 0 ? Form::Terminal
                                              : Form::Plain),
      m_statusOut(statusOut), m_nextAt(Clock::now() + kPlainInterval) {
    if (m_form == Form::Json) {
        m_nextAt = Clock::now(); // the first report is written at once
    }
}

void LiveStatus::Note(std::string_view text) {
    if (m_form == Form::Terminal || m_form == Form::Plain) {
        End();
        std::fprintf(m_statusOut, "%.*s\n", static_cast<int>(text.size()), text.data());
        std::fflush(m_statusOut);
    }
}

void LiveStatus::Show(const StatusReport& report) {
    const Clock::time_point now = Clock::now();
    // The first state is no change: the start has its note.
    const bool stateChanged = !m_lastState.empty() && report.StateName() != m_lastState;
    m_lastState = report.StateName();
    switch (m_form) {
    case Form::Terminal:
        if (report.Text() != m_lastShown || !m_lineOpen) {
            // Cleared to the line's end: a shorter line leaves nothing behind.
            std::fprintf(m_statusOut, "\r%s\033[K", report.Text().c_str());
            m_lineOpen = true;
        }
        m_lastShown = report.Text();
        break;
    case Form::Plain:
        if (now >= m_nextAt || stateChanged) {
            std::fprintf(m_statusOut, "%s\n", report.Text().c_str());
            m_nextAt = now + kPlainInterval;
        }
        break;
    case Form::Json:
        if ((now >= m_nextAt || stateChanged) && report.Json() != m_lastShown) {
            m_lastShown = report.Json();
            std::fprintf(stdout, "%s\n", m_lastShown.c_str());
            m_nextAt = now + kJsonInterval;
        }
        break;
    case Form::Quiet:
        return;
    }
    std::fflush(m_form == Form::Json ? stdout : m_statusOut);
}

void LiveStatus::Result(const StatusReport& report) {
    End();
    std::fprintf(stdout, "%s\n",
                 m_form == Form::Json ? report.Json().c_str() : report.Text().c_str());
    std::fflush(stdout);
}

void LiveStatus::End() {
    if (m_lineOpen) {
        std::fprintf(m_statusOut, "\r\033[K");
        std::fflush(m_statusOut);
        m_lineOpen = false;
    }
}

} // namespace cli
