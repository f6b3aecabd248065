#pragma once
// The shell service: what the program asks of the desktop (opening a document
// or an address with its default handler, starting another program). One
// process-wide service; tests install a recorder in its place.

#include <string>
#include <vector>

namespace platform {

class IShell {
public:
    virtual ~IShell() = default;
    // Opens a file or an address with the desktop's default handler (xdg-open),
    // detached; true when the handler was started.
    virtual bool Open(const std::string& target, const std::string& workingFolder) = 0;
    // Whether the desktop has a default program for documents of `mimeType`
    // (xdg-mime), so that Open can show one.
    virtual bool HasDefaultHandler(const std::string& mimeType) = 0;
    // Starts a program, detached, in `workingFolder` (empty: the current
    // folder); true when it was started.
    virtual bool Start(const std::string& programPath, const std::vector<std::string>& arguments,
                       const std::string& workingFolder) = 0;
};

// The process-wide service (the desktop's by default).
IShell& Shell();
// Installs `replacement` and returns the service installed before (null when
// that was the default). Null restores the default. The replacement must
// outlive its installation.
IShell* SetShell(IShell* replacement);

} // namespace platform
