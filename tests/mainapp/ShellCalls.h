#pragma once
// A shell service for window tests: keeps every request instead of acting on
// it, and puts the desktop's service back when it goes.

#include "platform/shell/Shell.h"

#include <string>
#include <vector>

namespace windowtest {

class ShellCalls final : public platform::IShell {
public:
    struct Call {
        bool start = false; // Start (true) or Open (false)
        std::string target;
        std::vector<std::string> arguments;
        std::string workingFolder;
    };

    ShellCalls() : m_previous(platform::SetShell(this)) {}
    ~ShellCalls() override { platform::SetShell(m_previous); }
    ShellCalls(const ShellCalls&) = delete;
    ShellCalls& operator=(const ShellCalls&) = delete;

    bool Open(const std::string& target, const std::string& workingFolder) override {
        m_calls.push_back({false, target, {}, workingFolder});
        return true;
    }
    // Every type of document has a program of its own here.
    bool HasDefaultHandler(const std::string& /*mimeType*/) override { return true; }
    bool Start(const std::string& programPath, const std::vector<std::string>& arguments,
               const std::string& workingFolder) override {
        m_calls.push_back({true, programPath, arguments, workingFolder});
        return true;
    }

    std::vector<Call> m_calls;

private:
    platform::IShell* m_previous = nullptr;
};

} // namespace windowtest
