#include "components/quarnel/emu/DriveSettingsFile.h"

#include "components/quarnel/emu/AtomicFile.h"

#include <array>
#include <charconv>
#include <map>
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

// "[section]" and "key=value" lines; ';' and '#' start comments.
using IniValues = std::map<std::string, std::string, std::less<>>;

IniValues ParseIni(std::string_view text) {
    IniValues values;
    std::string section;
    while (!text.empty()) {
        const std::size_t end = text.find('\n');
        std::string_view line = Trim(text.substr(0, end));
        text.remove_prefix(end == std::string_view::npos ? text.size() : end + 1);
        if (!line.empty() && line.back() == '\r') {
            line = Trim(line.substr(0, line.size() - 1));
        }
        if (line.empty() || line.front() == ';' || line.front() == '#') {
            continue;
        }
        if (line.front() == '[' && line.back() == ']') {
            section = Trim(line.substr(1, line.size() - 2));
            continue;
        }
        const std::size_t equals = line.find('=');
        if (equals != std::string_view::npos) {
            values[section + "." + std::string(Trim(line.substr(0, equals)))] =
                Trim(line.substr(equals + 1));
        }
    }
    return values;
}

class Reader {
public:
    explicit Reader(const IniValues& values) : m_values(values) {}

    void Text(const char* section, const char* key, std::string& value) const {
        if (const char* text = Raw(section, key)) {
            value = text;
        }
    }

    // A missing key keeps the value; a present one must be a number.
    bool Number(const char* section, const char* key, std::uint32_t& value) const {
        const char* text = Raw(section, key);
        return text == nullptr || ParseNumber(text, value);
    }

    bool Flag(const char* section, const char* key, bool& value) const {
        std::uint32_t number = value ? 1 : 0;
        if (!Number(section, key, number) || number > 1) {
            return false;
        }
        value = number == 1;
        return true;
    }

    const char* Raw(const char* section, const char* key) const {
        const auto found = m_values.find(std::string(section) + "." + key);
        return found == m_values.end() ? nullptr : found->second.c_str();
    }

private:
    const IniValues& m_values;
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

} // namespace

std::optional<DriveSettings> LoadDriveSettings(const std::filesystem::path& path) {
    const std::optional<std::string> text = ReadWholeFile(path);
    if (!text) {
        return std::nullopt;
    }
    const IniValues values = ParseIni(*text);
    const Reader reader(values);
    DriveSettings settings;
    reader.Text(kDrive, "vendor", settings.vendor);
    reader.Text(kDrive, "product", settings.product);
    reader.Text(kDrive, "revision", settings.revision);
    bool ok = reader.Number(kDrive, "write_speed", settings.writeSpeedX) &&
              reader.Number(kDrive, "buffer_kib", settings.bufferKib) &&
              reader.Number(kFaults, "long_write_attempts", settings.faults.longWriteAttempts) &&
              reader.Flag(kFaults, "not_ready", settings.faults.notReady);
    if (const char* capabilities = reader.Raw(kDrive, "capabilities")) {
        ok = ok && ParseCapabilities(capabilities, settings.capabilities);
    }
    if (const char* scale = reader.Raw(kDrive, "time_scale")) {
        const std::string_view number = Trim(scale);
        const auto [ptr, error] =
            std::from_chars(number.data(), number.data() + number.size(), settings.timeScale);
        ok = ok && error == std::errc{} && ptr == number.data() + number.size() &&
             settings.timeScale >= 0.0;
    }
    if (const char* from = reader.Raw(kFaults, "fail_writes_from"); from != nullptr && *from) {
        ok = ok && ParseNumber(from, settings.faults.failWritesFrom);
    }
    if (const char* unreadable = reader.Raw(kFaults, "unreadable")) {
        ok = ok && ParseRanges(unreadable, settings.faults.unreadable);
    }
    if (!ok || settings.writeSpeedX > kMaxWriteSpeedX) {
        return std::nullopt;
    }
    return settings;
}

bool SaveDriveSettings(const std::filesystem::path& path, const DriveSettings& settings) {
    std::string capabilities;
    for (const CapabilityName& entry : kCapabilityNames) {
        if (settings.capabilities.*entry.flag) {
            capabilities += capabilities.empty() ? "" : ",";
            capabilities += entry.name;
        }
    }
    std::ostringstream scale;
    scale << settings.timeScale;
    std::ostringstream out;
    out << "[drive]\n"
        << "vendor=" << settings.vendor << '\n'
        << "product=" << settings.product << '\n'
        << "revision=" << settings.revision << '\n'
        << "capabilities=" << capabilities << '\n'
        << "write_speed=" << settings.writeSpeedX << '\n'
        << "buffer_kib=" << settings.bufferKib << '\n'
        << "time_scale=" << scale.str() << '\n'
        << "\n[faults]\n"
        << "long_write_attempts=" << settings.faults.longWriteAttempts << '\n'
        << "fail_writes_from="
        << (settings.faults.failWritesFrom == kNoAddress
                ? std::string()
                : std::to_string(settings.faults.failWritesFrom))
        << '\n'
        << "not_ready=" << int{settings.faults.notReady} << '\n'
        << "unreadable=" << FormatRanges(settings.faults.unreadable) << '\n';
    return WriteFileAtomically(path, out.str());
}

} // namespace quarnel::emu
