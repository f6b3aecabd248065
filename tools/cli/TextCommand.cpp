#include "tools/cli/TextCommand.h"

#include "lang/LangText.h"

#include <charconv>
#include <cstdio>
#include <string>

namespace cli {

namespace {

int RunText(std::span<const std::string_view> args) {
    int number = 0;
    if (args.size() != 2 ||
        std::from_chars(args[1].data(), args[1].data() + args[1].size(), number).ec !=
            std::errc{}) {
        std::fprintf(stderr, "usage: sondrel-cli text SECTION NUMBER\n");
        return 2;
    }
    std::printf("%s\n", lang::GetLangString(args[0], number).c_str());
    return 0;
}

} // namespace

const CliCommand kTextCommand{"text", "SECTION NUMBER",
                              "prints a text of the current language file (empty when missing)",
                              RunText};

} // namespace cli
