#pragma once
// The desktop's shell service: xdg-open for documents and addresses, xdg-mime
// for their default handlers, the program itself for Start. Every child is detached: it runs in a
// session of its own, with standard input and output on /dev/null, and is never waited for (nor
// left behind as a zombie).

#include "platform/shell/Shell.h"

namespace platform {

class DesktopShell final : public IShell {
public:
    bool Open(const std::string& target, const std::string& workingFolder) override;
    bool HasDefaultHandler(const std::string& mimeType) override;
    bool Start(const std::string& programPath, const std::vector<std::string>& arguments,
               const std::string& workingFolder) override;
};

} // namespace platform
