#include "tests/support/RecordingShell.h"

namespace testsupport {

RecordingShell::RecordingShell(bool answer)
    : m_answer(answer), m_previous(platform::SetShell(this)) {}

RecordingShell::~RecordingShell() {
    platform::SetShell(m_previous);
}

bool RecordingShell::Open(const std::string& target, const std::string& workingFolder) {
    const std::lock_guard lock(m_mutex);
    m_requests.push_back({"open", target, {}, workingFolder});
    return m_answer;
}

bool RecordingShell::Start(const std::string& programPath,
                           const std::vector<std::string>& arguments,
                           const std::string& workingFolder) {
    const std::lock_guard lock(m_mutex);
    m_requests.push_back({"start", programPath, arguments, workingFolder});
    return m_answer;
}

std::vector<RecordingShell::Request> RecordingShell::Requests() const {
    const std::lock_guard lock(m_mutex);
    return m_requests;
}

} // namespace testsupport
