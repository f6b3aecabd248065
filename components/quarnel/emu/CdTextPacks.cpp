#include "components/quarnel/emu/CdTextPacks.h"

#include "components/quarnel/mmc/ByteOrder.h"
#include "components/quarnel/mmc/Crc16.h"

#include <algorithm>
#include <string>

namespace quarnel::emu {

namespace {

constexpr std::uint8_t kPackTitle = 0x80;
constexpr std::uint8_t kPackPerformer = 0x81;
constexpr std::uint8_t kPackSizeInfo = 0x8F;
constexpr std::size_t kTextBytes = 12;
constexpr std::uint8_t kLanguageEnglish = 0x09;
constexpr std::uint8_t kMaxCharPosition = 15;
// A block holds at most 256 packs; three of them carry the size information.
constexpr std::size_t kMaxTextPacks = 253;

struct TextByte {
    std::uint8_t value = 0;
    std::uint8_t track = 0;
    std::uint8_t position = 0;
};

class Packer {
public:
    // texts[0] belongs to the disc, texts[i] to the track numbers[i].
    void AddType(std::uint8_t type, const std::vector<std::string>& texts,
                 const std::vector<std::uint8_t>& numbers) {
        if (std::all_of(texts.begin(), texts.end(),
                        [](const std::string& t) { return t.empty(); })) {
            return;
        }
        std::vector<TextByte> stream;
        for (std::size_t i = 0; i < texts.size(); ++i) {
            const bool repeat = i >= 2 && !texts[i].empty() && texts[i] == texts[i - 1];
            const std::string text = repeat ? std::string("\t") : texts[i];
            for (std::size_t at = 0; at <= text.size(); ++at) {
                const auto value = static_cast<std::uint8_t>(at < text.size() ? text[at] : '\0');
                stream.push_back(
                    {value, numbers[i],
                     static_cast<std::uint8_t>(std::min<std::size_t>(at, kMaxCharPosition))});
            }
        }
        std::uint8_t produced = 0;
        for (std::size_t at = 0; at < stream.size() && m_packs.size() < kMaxTextPacks;
             at += kTextBytes, ++produced) {
            CdTextPack pack{};
            pack[0] = type;
            pack[1] = stream[at].track;
            pack[3] = stream[at].position;
            for (std::size_t i = 0; i < kTextBytes && at + i < stream.size(); ++i) {
                pack[4 + i] = stream[at + i].value;
            }
            Add(pack);
        }
        m_counts[type & 0x0F] = produced;
    }

    std::vector<CdTextPack> Finish(std::uint8_t firstTrack, std::uint8_t lastTrack) {
        if (m_packs.empty()) {
            return {};
        }
        m_counts[kPackSizeInfo & 0x0F] = 3;
        const auto lastSequence = static_cast<std::uint8_t>(m_packs.size() + 2);
        std::array<std::uint8_t, 36> info{};
        info[0] = 0x00; // ISO 8859-1
        info[1] = firstTrack;
        info[2] = lastTrack;
        std::copy(m_counts.begin(), m_counts.end(), info.begin() + 4);
        info[20] = lastSequence; // block 0; blocks 1-7 unused
        info[28] = kLanguageEnglish;
        for (std::uint8_t i = 0; i < 3; ++i) {
            CdTextPack pack{};
            pack[0] = kPackSizeInfo;
            pack[1] = i;
            std::copy_n(info.begin() + i * kTextBytes, kTextBytes, pack.begin() + 4);
            Add(pack);
        }
        return std::move(m_packs);
    }

private:
    void Add(CdTextPack& pack) {
        pack[2] = static_cast<std::uint8_t>(m_packs.size());
        const std::uint16_t crc = Crc16Ccitt(std::span<const std::uint8_t>(pack.data(), 16));
        PutBe16(pack, 16, static_cast<std::uint16_t>(~crc));
        m_packs.push_back(pack);
    }

    std::vector<CdTextPack> m_packs;
    std::array<std::uint8_t, 16> m_counts{};
};

} // namespace

std::vector<CdTextPack> BuildCdTextPacks(const DiscState& state) {
    const std::vector<DiscTrack> tracks = state.ClosedTracks();
    if (tracks.empty()) {
        return {};
    }
    std::vector<std::string> titles{state.title};
    std::vector<std::string> performers{state.performer};
    std::vector<std::uint8_t> numbers{0};
    for (const DiscTrack& track : tracks) {
        titles.push_back(track.title);
        performers.push_back(track.performer);
        numbers.push_back(static_cast<std::uint8_t>(track.number));
    }
    Packer packer;
    packer.AddType(kPackTitle, titles, numbers);
    packer.AddType(kPackPerformer, performers, numbers);
    return packer.Finish(static_cast<std::uint8_t>(tracks.front().number),
                         static_cast<std::uint8_t>(tracks.back().number));
}

} // namespace quarnel::emu
