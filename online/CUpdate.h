#pragma once
// The update check that the main window starts once at every start: it runs
// on threads of its own that nobody waits for, so the window may close while
// they run.

#include "online/OnlineSite.h"
#include "online/UpdateCheck.h"

#include <chrono>
#include <memory>
#include <string>

namespace online {

class CUpdate {
public:
    // The running program's site; agreeing to a waiting update ends the
    // process at once with exit code 0.
    CUpdate();
    CUpdate(OnlineSite site, UpdateCheck::ExitFunction exitProcess);
    virtual ~CUpdate() = default;

    // Stores `product` (the product's folder on the server) and starts the
    // update check thread; true at once.
    bool Start(const std::string& product);

    // Waits, at most `limit`, until the threads of every check started here
    // have ended; true when they have.
    bool WaitForChecks(std::chrono::milliseconds limit) const;

private:
    std::string m_strProduct;
    OnlineSite m_site;
    UpdateCheck::ExitFunction m_exitProcess;
    std::shared_ptr<DetachedTasks> m_tasks;
};

} // namespace online
