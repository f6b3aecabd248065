#include "tools/cli/TakeMessageHost.h"

#include "util/MessageBox.h"

#include <algorithm>
#include <cstdio>

namespace cli {

TakeMessageHost::TakeMessageHost(util::IMessageBoxHost& terminal, bool answerOk)
    : m_terminal(terminal), m_answerOk(answerOk) {}

int TakeMessageHost::Show(const std::string& text, unsigned style) {
    {
        const std::lock_guard lock(m_mutex);
        m_shown.push_back(text);
    }
    // Messages start on a line of their own, below the read-out line.
    std::fputc('\n', stdout);
    std::fflush(stdout);
    constexpr unsigned kButtonsMask = 0x0F;
    if (m_answerOk && (style & kButtonsMask) == util::MB_OKCANCEL) {
        std::fprintf(stderr, "%s [answered OK]\n", text.c_str());
        return util::IDOK;
    }
    return m_terminal.Show(text, style);
}

bool TakeMessageHost::WasShown(const std::string& text) const {
    const std::lock_guard lock(m_mutex);
    return std::any_of(m_shown.begin(), m_shown.end(),
                       [&text](const std::string& shown) { return shown.starts_with(text); });
}

} // namespace cli
