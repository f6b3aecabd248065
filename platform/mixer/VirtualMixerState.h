#pragma once

#include <cstdint>
#include <filesystem>
#include <string>
#include <vector>

namespace platform::mixer {

// The settings of the virtual mixer as kept in its state file: which source is recorded and
// the volume of each channel of each source. The file is a few "key=value" lines:
//   selected=1
//   volume0=32768
//   volume1=40000,40000
class VirtualMixerState {
public:
    // channelsPerLine gives the number of lines and of channels of each; every volume
    // starts at defaultVolume, line 0 is selected.
    VirtualMixerState(const std::vector<std::uint32_t>& channelsPerLine,
                      std::uint32_t defaultVolume);

    // The file named by SONDREL_MIXER_STATE, else sondrel/mixer.ini in the user's data
    // folder (XDG_DATA_HOME, else ~/.local/share).
    static std::filesystem::path DefaultPath();

    // Reads what the file holds; a missing file, or an entry that is missing, malformed or
    // out of range (above maxVolume), leaves the value as it was.
    void Load(const std::filesystem::path& path, std::uint32_t maxVolume);
    // Writes a new file beside the old one and renames it over it, so that a reader never
    // sees half a file. Creates the folder when needed.
    bool Save(const std::filesystem::path& path) const;

    std::size_t Selected() const { return m_selected; }
    void Select(std::size_t line) { m_selected = line; }
    const std::vector<std::uint32_t>& Volume(std::size_t line) const { return m_volumes[line]; }
    void SetVolume(std::size_t line, const std::vector<std::uint32_t>& channelValues) {
        m_volumes[line] = channelValues;
    }

private:
    void Apply(const std::string& key, const std::string& value, std::uint32_t maxVolume);

    std::size_t m_selected = 0;
    std::vector<std::vector<std::uint32_t>> m_volumes;
};

} // namespace platform::mixer
