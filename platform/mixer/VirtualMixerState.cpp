#include "platform/mixer/VirtualMixerState.h"

#include "util/Environment.h"

#include <charconv>
#include <fstream>
#include <sstream>
#include <system_error>
#include <unistd.h>

namespace platform::mixer {

namespace {

bool parseNumber(const std::string& text, std::uint64_t& number) {
    const char* end = text.data() + text.size();
    const auto [last, error] = std::from_chars(text.data(), end, number);
    return error == std::errc() && last == end && !text.empty();
}

} // namespace

VirtualMixerState::VirtualMixerState(const std::vector<std::uint32_t>& channelsPerLine,
                                     std::uint32_t defaultVolume) {
    m_volumes.reserve(channelsPerLine.size());
    for (const std::uint32_t channels : channelsPerLine) {
        m_volumes.emplace_back(channels, defaultVolume);
    }
}

std::filesystem::path VirtualMixerState::DefaultPath() {
    if (const std::string explicitPath = util::EnvironmentValue("SONDREL_MIXER_STATE");
        !explicitPath.empty()) {
        return explicitPath;
    }
    return util::UserDataFolder() / "mixer.ini";
}

void VirtualMixerState::Load(const std::filesystem::path& path, std::uint32_t maxVolume) {
    std::ifstream in(path);
    std::string line;
    while (std::getline(in, line)) {
        const std::size_t equals = line.find('=');
        if (equals != std::string::npos) {
            Apply(line.substr(0, equals), line.substr(equals + 1), maxVolume);
        }
    }
}

void VirtualMixerState::Apply(const std::string& key, const std::string& value,
                              std::uint32_t maxVolume) {
    std::uint64_t number = 0;
    if (key == "selected") {
        if (parseNumber(value, number) && number < m_volumes.size()) {
            m_selected = static_cast<std::size_t>(number);
        }
        return;
    }
    if (!key.starts_with("volume") || !parseNumber(key.substr(6), number) ||
        number >= m_volumes.size()) {
        return;
    }
    std::vector<std::uint32_t> channelValues;
    std::istringstream fields(value);
    std::string field;
    while (std::getline(fields, field, ',')) {
        std::uint64_t channelValue = 0;
        if (!parseNumber(field, channelValue) || channelValue > maxVolume) {
            return;
        }
        channelValues.push_back(static_cast<std::uint32_t>(channelValue));
    }
    if (channelValues.size() == m_volumes[number].size()) {
        m_volumes[number] = std::move(channelValues);
    }
}

bool VirtualMixerState::Save(const std::filesystem::path& path) const {
    std::error_code error;
    if (path.has_parent_path()) {
        std::filesystem::create_directories(path.parent_path(), error);
    }
    std::filesystem::path temporary = path;
    temporary += ".tmp" + std::to_string(getpid());
    {
        std::ofstream out(temporary, std::ios::trunc);
        out << "selected=" << m_selected << '\n';
        for (std::size_t line = 0; line < m_volumes.size(); ++line) {
            out << "volume" << line << '=';
            for (std::size_t c = 0; c < m_volumes[line].size(); ++c) {
                out << (c == 0 ? "" : ",") << m_volumes[line][c];
            }
            out << '\n';
        }
        out.flush();
        if (!out) {
            std::filesystem::remove(temporary, error);
            return false;
        }
    }
    std::filesystem::rename(temporary, path, error);
    if (error) {
        std::filesystem::remove(temporary, error);
        return false;
    }
    return true;
}

} // namespace platform::mixer
