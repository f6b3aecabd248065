#pragma once
// One sub-command of sondrel-cli: "sondrel-cli NAME ARGS...".

#include <span>
#include <string_view>

namespace cli {

struct CliCommand {
    std::string_view name;
    std::string_view usage;   // the argument part of the usage line
    std::string_view summary; // one line of help
    // Runs with the arguments after the command name; returns the exit status.
    int (*run)(std::span<const std::string_view> args);
    // Whether it shows a live status, and so takes --quiet and --json.
    bool liveOutput = false;
};

// Every command the program knows, in the order "sondrel-cli help" lists them.
std::span<const CliCommand> AllCommands();

} // namespace cli
