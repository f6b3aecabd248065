#pragma once
// A shell service for tests: records every request instead of starting
// anything, and installs itself for its lifetime. Safe to call from several
// threads at once.

#include "platform/shell/Shell.h"

#include <mutex>
#include <string>
#include <vector>

namespace testsupport {

class RecordingShell final : public platform::IShell {
public:
    struct Request {
        std::string verb; // "open" or "start"
        std::string target;
        std::vector<std::string> arguments;
        std::string workingFolder;
        bool operator==(const Request&) const = default;
    };

    // `answer` is what every request returns.
    explicit RecordingShell(bool answer = true);
    ~RecordingShell() override;
    RecordingShell(const RecordingShell&) = delete;
    RecordingShell& operator=(const RecordingShell&) = delete;

    bool Open(const std::string& target, const std::string& workingFolder) override;
    // Every type of document has a program of its own here.
    bool HasDefaultHandler(const std::string& /*mimeType*/) override { return true; }
    bool Start(const std::string& programPath, const std::vector<std::string>& arguments,
               const std::string& workingFolder) override;

    std::vector<Request> Requests() const;

private:
    mutable std::mutex m_mutex;
    std::vector<Request> m_requests;
    bool m_answer = true;
    platform::IShell* m_previous = nullptr;
};

} // namespace testsupport
