#include "online/CUpdate.h"

#include <cstdio>
#include <cstdlib>

namespace online {

namespace {

// Ends the process on the spot: the window's own shutdown does not run.
void EndProcessNow(int exitCode) {
    std::fflush(nullptr);
    std::_Exit(exitCode);
}

} // namespace

CUpdate::CUpdate() : CUpdate(DefaultOnlineSite(), EndProcessNow) {}

CUpdate::CUpdate(OnlineSite site, UpdateCheck::ExitFunction exitProcess)
    : m_site(std::move(site)), m_exitProcess(std::move(exitProcess)),
      m_tasks(std::make_shared<DetachedTasks>()) {}

bool CUpdate::Start(const std::string& product) {
    m_strProduct = product;
    auto check = std::make_shared<UpdateCheck>(m_site, m_strProduct, m_exitProcess);
    // The thread holds the check and the task group, not this object.
    m_tasks->Run("update", [check, tasks = m_tasks] { check->RunCheck(check, *tasks); });
    return true;
}

bool CUpdate::WaitForChecks(std::chrono::milliseconds limit) const {
    return m_tasks->Wait(limit);
}

} // namespace online
