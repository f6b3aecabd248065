#pragma once
// A message box host for tests: records every text and style shown and
// answers from a script. Safe to call from several threads at once.

#include "util/IMessageBoxHost.h"
#include "util/MessageBox.h"

#include <cstddef>
#include <deque>
#include <mutex>
#include <string>
#include <vector>

namespace testsupport {

class ScriptedMessageBox final : public util::IMessageBoxHost {
public:
    struct Shown {
        std::string text;
        unsigned style = 0;
    };

    // `answers` are given out in order; once they are used up every further
    // message gets `defaultAnswer`.
    explicit ScriptedMessageBox(std::vector<int> answers = {}, int defaultAnswer = util::IDOK);

    int Show(const std::string& text, unsigned style) override;

    // Appends answers to the script.
    void Script(const std::vector<int>& answers);
    // Everything shown so far, in the order the host received it.
    std::vector<Shown> ShownMessages() const;
    std::size_t ShownCount() const;

private:
    mutable std::mutex m_mutex;
    std::deque<int> m_answers;
    int m_defaultAnswer = util::IDOK;
    std::vector<Shown> m_shown;
};

} // namespace testsupport
