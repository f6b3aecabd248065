#pragma once
// The message host of a take on the command line: shows every message
// through the terminal host and remembers which were shown, so that the
// command can tell a finished take from a failed one. With `answerOk` the
// questions are answered OK without asking (--yes).

#include "util/IMessageBoxHost.h"

#include <mutex>
#include <string>
#include <vector>

namespace cli {

class TakeMessageHost final : public util::IMessageBoxHost {
public:
    TakeMessageHost(util::IMessageBoxHost& terminal, bool answerOk);

    int Show(const std::string& text, unsigned style) override;
    // Whether a message beginning with `text` was shown (messages may carry
    // what the drive answered below their text).
    [[nodiscard]] bool WasShown(const std::string& text) const;

private:
    util::IMessageBoxHost& m_terminal;
    bool m_answerOk = false;
    mutable std::mutex m_mutex;
    std::vector<std::string> m_shown;
};

} // namespace cli
