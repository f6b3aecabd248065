#include "tests/support/ScriptedMessageBox.h"

namespace testsupport {

ScriptedMessageBox::ScriptedMessageBox(std::vector<int> answers, int defaultAnswer)
    : m_answers(answers.begin(), answers.end()), m_defaultAnswer(defaultAnswer) {}

int ScriptedMessageBox::Show(const std::string& text, unsigned style) {
    const std::lock_guard lock(m_mutex);
    m_shown.push_back(Shown{text, style});
    if (m_answers.empty()) {
        return m_defaultAnswer;
    }
    const int answer = m_answers.front();
    m_answers.pop_front();
    return answer;
}

void ScriptedMessageBox::Script(const std::vector<int>& answers) {
    const std::lock_guard lock(m_mutex);
    m_answers.insert(m_answers.end(), answers.begin(), answers.end());
}

std::vector<ScriptedMessageBox::Shown> ScriptedMessageBox::ShownMessages() const {
    const std::lock_guard lock(m_mutex);
    return m_shown;
}

std::size_t ScriptedMessageBox::ShownCount() const {
    const std::lock_guard lock(m_mutex);
    return m_shown.size();
}

} // namespace testsupport
