#include "components/quarnel/emu/DriveSettingsFile.h"

#include "components/quarnel/emu/AtomicFile.h"
#include "platform/profile/ProfileText.h"

#include <array>
#include <charconv>
#include <sstream>
#include <string_view>

namespace quarnel::emu {

namespace {

constexpr const char* kDrive = "drive";
constexpr const char* kFaults = "faults";

struct CapabilityName {
    std::string_view name;
    bool DriveCapabilities::*flag;
};

constexpr std::array<CapabilityName, 9> kCapabilityNames{{
    {"cd-r", &DriveCapabilities::cdR},
    {"cd-rw", &DriveCapabilities::cdRw},
    {"dvd-rw", &DriveCapabilities::dvdRw},
    {"dvd+rw", &DriveCapabilities::dvdPlusRw},
    {"dvd-ram", &DriveCapabilities::dvdRam},
    {"test-write", &DriveCapabilities::testWrite},
    {"buf", &DriveCapabilities::underrunProtection},
    {"lock", &DriveCapabilities::lock},
    {"eject", &DriveCapabilities::eject},
}};

std::string_view Trim(std::string_view text) {
    while (!text.empty() && (text.front() == ' ' || text.front() == '\t')) {
        text.remove_prefix(1);
    }
    while (!text.empty() && (text.back() == ' ' || text.back() == '\t')) {
        text.remove_suffix(1);
    }
    return text;
}

bool ParseNumber(std::string_view text, std::uint32_t& value) {
    text = Trim(text);
    const auto [ptr, error] = std::from_chars(text.data(), text.data() + text.size(), value);
    return error == std::errc{} && ptr == text.data() + text.size();
}

template <typename Each> bool ForEachItem(std::string_view list, Each each) {
    while (!Trim(list).empty()) {
        const std::size_t comma = list.find(',');
        if (!each(Trim(list.substr(0, comma)))) {
            return false;
        }
        list.remove_prefix(comma == std::string_view::npos ? list.size() : comma + 1);
    }
    return true;
}

bool ParseCapabilities(std::string_view list, DriveCapabilities& capabilities) {
    DriveCapabilities none{};
    for (const CapabilityName& entry : kCapabilityNames) {
        none.*entry.flag = false;
    }
    const bool ok = ForEachItem(list, [&none](std::string_view item) {
        for (const CapabilityName& entry : kCapabilityNames) {
            if (entry.name == item) {
                none.*entry.flag = true;
                return true;
            }
        }
        return false;
    });
    capabilities = none;
    return ok;
}

bool ParseRanges(std::string_view list, std::vector<BlockRange>& ranges) {
    ranges.clear();
    return ForEachItem(list, [&ranges](std::string_view item) {
        const std::size_t dash = item.find('-');
        BlockRange range;
        if (!ParseNumber(item.substr(0, dash), range.first)) {
            return false;
        }
        range.last = range.first;
        if (dash != std::string_view::npos &&
            (!ParseNumber(item.substr(dash + 1), range.last) || range.last < range.first)) {
            return false;
        }
        ranges.push_back(range);
        return true;
    });
}

// Values of drive.ini by section and key, read with the program's profile
// rules; a missing key keeps the value it is asked with.
class Reader {
public:
    explicit Reader(std::string text) : m_text(std::move(text)) {}

    void Text(const char* section, const char* key, std::string& value) const {
        value = Raw(section, key, value);
    }

    // A present value must be a number.
    bool Number(const char* section, const char* key, std::uint32_t& value) const {
        return ParseNumber(Raw(section, key, std::to_string(value)), value);
    }

    bool Flag(const char* section, const char* key, bool& value) const {
        std::uint32_t number = value ? 1 : 0;
        if (!Number(section, key, number) || number > 1) {
            return false;
        }
        value = number == 1;
        return true;
    }

    [[nodiscard]] std::string Raw(const char* section, const char* key,
                                  std::string_view fallback) const {
        return platform::ReadProfileText(m_text, section, key, fallback);
    }

private:
    std::string m_text;
};

std::string FormatRanges(const std::vector<BlockRange>& ranges) {
    std::string out;
    for (const BlockRange& range : ranges) {
        out += out.empty() ? "" : ",";
        out += std::to_string(range.first);
        if (range.last != range.first) {
            out += "-" + std::to_string(range.last);
        }
    }
    return out;
}

std::string FormatCapabilities(const DriveCapabilities& capabilities) {
    std::string out;
    for (const CapabilityName& entry : kCapabilityNames) {
        if (capabilities.*entry.flag) {
            out += out.empty() ? "" : ",";
            out += entry.name;
        }
    }
    return out;
}

std::string FormatNumber(double value) {
    std::ostringstream out;
    out << value;
    return out.str();
}

std::string FormatAddress(std::uint32_t address) {
    return address == kNoAddress ? std::string() : std::to_string(address);
}

} // namespace

std::optional<DriveSettings> LoadDriveSettings(const std::filesystem::path& path,
                                               std::string* readError) {
    std::optional<std::string> text = ReadWholeFile(path, readError);
    if (!text) {
        return std::nullopt;
    }
    const Reader reader(std::move(*text));
    DriveSettings settings;
    reader.Text(kDrive, "vendor", settings.vendor);
    reader.Text(kDrive, "product", settings.product);
    reader.Text(kDrive, "revision", settings.revision);
    bool ok = reader.Number(kDrive, "write_speed", settings.writeSpeedX) &&
              reader.Number(kDrive, "buffer_kib", settings.bufferKib) &&
              reader.Flag(kDrive, "unit_attention", settings.unitAttention) &&
              reader.Number(kDrive, "spin_up_ms", settings.spinUpMs) &&
              reader.Number(kFaults, "long_write_attempts", settings.faults.longWriteAttempts) &&
              reader.Flag(kFaults, "not_ready", settings.faults.notReady) &&
              ParseCapabilities(
                  reader.Raw(kDrive, "capabilities", FormatCapabilities(settings.capabilities)),
                  settings.capabilities);
    const std::string scale = reader.Raw(kDrive, "time_scale", FormatNumber(settings.timeScale));
    const auto [ptr, error] =
        std::from_chars(scale.data(), scale.data() + scale.size(), settings.timeScale);
    ok = ok && error == std::errc{} && ptr == scale.data() + scale.size() &&
         settings.timeScale >= 0.0;
    if (const std::string from = reader.Raw(kFaults, "fail_writes_from", ""); !from.empty()) {
        ok = ok && ParseNumber(from, settings.faults.failWritesFrom);
    }
    ok = ok && ParseRanges(reader.Raw(kFaults, "unreadable", ""), settings.faults.unreadable) &&
         ParseRanges(reader.Raw(kFaults, "unstable", ""), settings.faults.unstable);
    if (!ok || settings.writeSpeedX > kMaxWriteSpeedX) {
        return std::nullopt;
    }
    return settings;
}

bool SaveDriveSettings(const std::filesystem::path& path, const DriveSettings& settings) {
    const FaultPlan& faults = settings.faults;
    const std::array<std::array<std::string, 3>, 14> values{{
        {kDrive, "vendor", settings.vendor},
        {kDrive, "product", settings.product},
        {kDrive, "revision", settings.revision},
        {kDrive, "capabilities", FormatCapabilities(settings.capabilities)},
        {kDrive, "write_speed", std::to_string(settings.writeSpeedX)},
        {kDrive, "buffer_kib", std::to_string(settings.bufferKib)},
        {kDrive, "time_scale", FormatNumber(settings.timeScale)},
        {kDrive, "unit_attention", settings.unitAttention ? "1" : "0"},
        {kDrive, "spin_up_ms", std::to_string(settings.spinUpMs)},
        {kFaults, "long_write_attempts", std::to_string(faults.longWriteAttempts)},
        {kFaults, "fail_writes_from", FormatAddress(faults.failWritesFrom)},
        {kFaults, "not_ready", faults.notReady ? "1" : "0"},
        {kFaults, "unreadable", FormatRanges(faults.unreadable)},
        {kFaults, "unstable", FormatRanges(faults.unstable)},
    }};
    std::string text;
    for (const auto& [section, key, value] : values) {
        std::optional<std::string> changed = platform::WriteProfileText(text, section, key, value);
        if (!changed) {
            return false; // a value that does not fit on one line
        }
        text = std::move(*changed);
    }
    return WriteFileAtomically(path, text);
}

} // namespace quarnel::emu
