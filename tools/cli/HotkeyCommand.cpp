#include "tools/cli/HotkeyCommand.h"

#include "MainApp/hotkey/HotkeyKeyList.h"
#include "MainApp/hotkey/HotkeySettings.h"

#include <algorithm>
#include <array>
#include <cctype>
#include <cstdio>
#include <optional>
#include <string>

namespace cli {

namespace {

using platform::DWORD;

// The --modifier words, by "KeyType" value.
constexpr std::array<std::string_view, 5> kModifierWords = {"none", "left-ctrl", "right-ctrl",
                                                            "left-alt", "right-alt"};

int Usage() {
    std::fprintf(stderr, "usage: sondrel-cli hotkey show | set KEY [--modifier "
                         "left-ctrl|right-ctrl|left-alt|right-alt] | off\n"
                         "KEY: F1-F12, 0-9 or A-Z\n");
    return 2;
}

bool SameIgnoringCase(std::string_view a, std::string_view b) {
    return std::ranges::equal(a, b, [](char x, char y) {
        return std::tolower(static_cast<unsigned char>(x)) ==
               std::tolower(static_cast<unsigned char>(y));
    });
}

// The virtual-key code of a key the settings dialog lists.
std::optional<DWORD> ParseKey(std::string_view text) {
    for (int position = 0; position < hotkey::kHotkeyKeyCount; ++position) {
        if (SameIgnoringCase(text, hotkey::HotkeyKeyName(position))) {
            return hotkey::HotkeyKeyCode(position);
        }
    }
    return std::nullopt;
}

std::optional<DWORD> ParseModifier(std::string_view text) {
    for (std::size_t type = 0; type < kModifierWords.size(); ++type) {
        if (SameIgnoringCase(text, kModifierWords[type])) {
            return static_cast<DWORD>(type);
        }
    }
    return std::nullopt;
}

// "on: Left Ctrl + R", "off (F5)"; a stored code the dialog does not offer
// is named by its number.
void PrintSettings() {
    std::int32_t type = 0;
    DWORD value = 0;
    DWORD used = 0;
    hotkey::ReadHotkeySettings(type, value, used);
    const auto position = hotkey::HotkeyKeyPosition(value);
    std::string combination =
        position ? hotkey::HotkeyKeyName(*position) : "key code " + std::to_string(value);
    if (type > 0 && static_cast<std::size_t>(type) < hotkey::kHotkeyModifierNames.size()) {
        combination = std::string(hotkey::kHotkeyModifierNames[static_cast<std::size_t>(type)]) +
                      " + " + combination;
    }
    std::printf(used == 1 ? "hotkey on: %s\n" : "hotkey off (%s)\n", combination.c_str());
}

int Write(DWORD type, DWORD value, DWORD used) {
    if (!hotkey::WriteHotkeySettings(type, value, used)) {
        std::fprintf(stderr, "sondrel-cli: the hotkey settings cannot be written\n");
        return 1;
    }
    PrintSettings();
    return 0;
}

int RunHotkey(std::span<const std::string_view> args) {
    if (args.size() == 1 && args[0] == "show") {
        PrintSettings();
        return 0;
    }
    if (args.size() == 1 && args[0] == "off") {
        std::int32_t type = 0;
        DWORD value = 0;
        DWORD used = 0;
        hotkey::ReadHotkeySettings(type, value, used);
        return Write(static_cast<DWORD>(type), value, 0);
    }
    if ((args.size() != 2 && args.size() != 4) || args[0] != "set" ||
        (args.size() == 4 && args[2] != "--modifier")) {
        return Usage();
    }
    const auto key = ParseKey(args[1]);
    const auto modifier = args.size() == 4 ? ParseModifier(args[3]) : std::optional<DWORD>(0);
    if (!key || !modifier) {
        return Usage();
    }
    return Write(*modifier, *key, 1);
}

} // namespace

const CliCommand kHotkeyCommand{
    "hotkey", "show | set KEY [--modifier left-ctrl|right-ctrl|left-alt|right-alt] | off",
    "shows or sets the key combination that starts and stops recording", RunHotkey};

} // namespace cli
