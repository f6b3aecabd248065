// sondrel-cli: the headless front end of Sondrel.
#include "tools/cli/CliCommand.h"
#include "tools/cli/ManualText.h"
#include "tools/cli/OutputMode.h"
#include "util/MessageBox.h"
#include "util/TerminalMessageBox.h"

#include <algorithm>
#include <cstdio>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace {

constexpr std::size_t kHelpWidth = 80;

// " record save ...": the commands that take --quiet and --json.
std::string LiveCommandNames() {
    std::string names;
    for (const cli::CliCommand& command : cli::AllCommands()) {
        names += command.liveOutput ? " " + std::string(command.name) : "";
    }
    return names;
}

void PrintUsage(std::FILE* out) {
    std::fprintf(out, "usage: sondrel-cli COMMAND [ARGS...]\n\ncommands:\n");
    for (const cli::CliCommand& command : cli::AllCommands()) {
        std::fprintf(out, "  %.*s %.*s\n      %.*s\n", static_cast<int>(command.name.size()),
                     command.name.data(), static_cast<int>(command.usage.size()),
                     command.usage.data(), static_cast<int>(command.summary.size()),
                     command.summary.data());
    }
    std::fprintf(out,
                 "\n\"sondrel-cli help COMMAND\" shows a command's part of the manual.\n"
                 "--quiet (only errors and the result) or --json (JSON lines) go with:%s\n",
                 LiveCommandNames().c_str());
}

const cli::CliCommand* CommandNamed(std::string_view name) {
    for (const cli::CliCommand& command : cli::AllCommands()) {
        if (command.name == name) {
            return &command;
        }
    }
    return nullptr;
}

int Help(std::span<const std::string_view> args) {
    if (args.empty()) {
        PrintUsage(stdout);
        return 0;
    }
    if (args.size() > 1) {
        std::fprintf(stderr, "usage: sondrel-cli help [COMMAND]\n");
        return 2;
    }
    const std::string text = CommandNamed(args[0]) != nullptr
                                 ? cli::ManualSection(cli::kManualPage, args[0], kHelpWidth)
                                 : std::string();
    if (text.empty()) {
        std::fprintf(stderr, "sondrel-cli: no command '%.*s'; \"sondrel-cli help\" lists them\n",
                     static_cast<int>(args[0].size()), args[0].data());
        return 2;
    }
    std::fputs(text.c_str(), stdout);
    return 0;
}

} // namespace

int main(int argc, char** argv) {
    // Messages from the program's parts appear on the terminal, and their
    // questions are answered there. Static: it stays installed until exit.
    static util::TerminalMessageBox s_terminal(stdin, stderr);
    util::SetMessageBoxHost(&s_terminal);
    std::vector<std::string_view> args(argv + 1, argv + argc);
    const std::optional<cli::OutputMode> mode = cli::TakeOutputOptions(args);
    if (args.empty()) {
        PrintUsage(stderr);
        return 2;
    }
    const std::span<const std::string_view> rest = std::span(args).subspan(1);
    if (args[0] == "help" || args[0] == "--help") {
        return Help(rest);
    }
    const cli::CliCommand* command = CommandNamed(args[0]);
    if (command == nullptr) {
        std::fprintf(stderr, "sondrel-cli: unknown command '%.*s'\n\n",
                     static_cast<int>(args[0].size()), args[0].data());
        PrintUsage(stderr);
        return 2;
    }
    if (std::ranges::find(rest, "--help") != rest.end()) {
        return Help(std::span(args).first(1)); // "sondrel-cli COMMAND --help"
    }
    if (!mode || (*mode != cli::OutputMode::Status && !command->liveOutput)) {
        std::fprintf(stderr,
                     "sondrel-cli: --quiet and --json exclude each other and go with%s only\n",
                     LiveCommandNames().c_str());
        return 2;
    }
    cli::SetOutputMode(*mode);
    return command->run(rest);
}
