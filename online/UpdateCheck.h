#pragma once
// The work of one update check: refresh the updater when the server has
// another version, offer a waiting update, else fetch the update description
// and offer it when it changed. Every failure ends its step silently.

#include "online/DetachedTasks.h"
#include "online/OnlineSite.h"

#include <functional>
#include <memory>
#include <string>

namespace online {

class UpdateCheck {
public:
    using ExitFunction = std::function<void(int exitCode)>;

    UpdateCheck(OnlineSite site, std::string product, ExitFunction exitProcess);

    // The update check thread: refreshes the updater, then asks about a
    // waiting update (and ends the process through the exit function when the
    // user agrees) or starts the description thread on `tasks`.
    void RunCheck(const std::shared_ptr<UpdateCheck>& self, DetachedTasks& tasks) const;

    // The update description thread.
    void RunDescription() const;

private:
    void RefreshUpdater() const;
    bool UpdateWaiting() const;
    bool UserAgrees() const;
    void StartUpdater() const;
    // The address of `file` in the product's folder on the server.
    std::string ServerFile(const char* file) const;
    std::string LocalFile(const char* file) const;

    OnlineSite m_site;
    std::string m_product;
    ExitFunction m_exitProcess;
};

} // namespace online
