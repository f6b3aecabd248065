// sondrel-cli: the headless front end of Sondrel.
#include "tools/cli/CliCommand.h"
#include "util/MessageBox.h"
#include "util/TerminalMessageBox.h"

#include <cstdio>
#include <string_view>
#include <vector>

namespace {

void PrintUsage(std::FILE* out) {
    std::fprintf(out, "usage: sondrel-cli COMMAND [ARGS...]\n\ncommands:\n");
    for (const cli::CliCommand& command : cli::AllCommands()) {
        std::fprintf(out, "  %.*s %.*s\n      %.*s\n", static_cast<int>(command.name.size()),
                     command.name.data(), static_cast<int>(command.usage.size()),
                     command.usage.data(), static_cast<int>(command.summary.size()),
                     command.summary.data());
    }
}

} // namespace

int main(int argc, char** argv) {
    // Messages from the program's parts appear on the terminal, and their
    // questions are answered there. Static: it stays installed until exit.
    static util::TerminalMessageBox s_terminal(stdin, stderr);
    util::SetMessageBoxHost(&s_terminal);
    if (argc < 2 || std::string_view(argv[1]) == "help" || std::string_view(argv[1]) == "--help") {
        PrintUsage(argc < 2 ? stderr : stdout);
        return argc < 2 ? 2 : 0;
    }
    const std::string_view name = argv[1];
    std::vector<std::string_view> args(argv + 2, argv + argc);
    for (const cli::CliCommand& command : cli::AllCommands()) {
        if (command.name == name) {
            return command.run(args);
        }
    }
    std::fprintf(stderr, "sondrel-cli: unknown command '%s'\n\n", argv[1]);
    PrintUsage(stderr);
    return 2;
}
