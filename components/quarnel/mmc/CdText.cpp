#include "components/quarnel/mmc/CdText.h"

#include "components/quarnel/mmc/ByteOrder.h"
#include "components/quarnel/mmc/Crc16.h"

#include <algorithm>

namespace quarnel {

namespace {

constexpr std::size_t kBlocks = 8;
constexpr std::size_t kTextAt = 4;
constexpr std::size_t kTextBytes = 12;
constexpr std::size_t kCrcAt = 16;
constexpr std::size_t kSizeInfoBytes = 3 * kTextBytes;
constexpr std::size_t kSizeInfoLanguageAt = 28;
constexpr std::uint8_t kTab = 0x09;

using Pack = std::span<const std::uint8_t, kCdTextPackLength>;

const std::string g_noText;

bool CrcMatches(Pack pack) {
    const std::uint16_t crc = Crc16Ccitt(pack.first(kCrcAt));
    return static_cast<std::uint16_t>(~crc) == GetBe16(pack, kCrcAt);
}

// One text pack type of one block: the string being gathered and where the
// next pack has to come from to continue it.
struct Stream {
    bool started = false;
    std::uint8_t nextSequence = 0;
    std::size_t track = 0;
    std::string buffer;
    bool skipping = false; // the start of the current string was lost
};

struct BlockState {
    bool seen = false;
    bool sizeInfoSeen = false;
    std::array<std::uint8_t, kSizeInfoBytes> sizeInfo{};
    std::array<Stream, kCdTextKinds> streams{};
};

class Decoder {
public:
    void Take(Pack pack) {
        const std::size_t number = (pack[3] >> 4) & 0x07;
        BlockState& state = m_states[number];
        CdTextBlock& block = m_blocks[number];
        state.seen = true;
        block.number = static_cast<std::uint8_t>(number);
        if (pack[0] == cdtext::kSizeInfo) {
            TakeSizeInfo(state, pack);
            return;
        }
        const std::size_t kind = KindIndex(pack[0]);
        if (kind == kCdTextKinds || (pack[1] & 0x80) != 0) {
            return; // TOC, genre, disc id and extension packs carry no track texts
        }
        block.doubleByte = block.doubleByte || (pack[3] & 0x80) != 0;
        TakeText(block.texts[kind], state.streams[kind], pack);
    }

    std::vector<CdTextBlock> Finish() {
        std::vector<CdTextBlock> blocks;
        for (std::size_t number = 0; number < kBlocks; ++number) {
            const BlockState& state = m_states[number];
            if (!state.seen) {
                continue;
            }
            CdTextBlock& block = m_blocks[number];
            if (state.sizeInfoSeen) {
                block.characterCode = state.sizeInfo[0];
                block.firstTrack = state.sizeInfo[1];
                block.lastTrack = state.sizeInfo[2];
                block.languageCode = state.sizeInfo[kSizeInfoLanguageAt + number];
            }
            blocks.push_back(std::move(block));
        }
        return blocks;
    }

private:
    static void TakeSizeInfo(BlockState& state, Pack pack) {
        const std::size_t piece = pack[1];
        if (piece >= 3) {
            return;
        }
        std::copy_n(pack.begin() + kTextAt, kTextBytes,
                    state.sizeInfo.begin() + piece * kTextBytes);
        state.sizeInfoSeen = true;
    }

    static void TakeText(std::array<std::string, kCdTextTracks>& texts, Stream& stream, Pack pack) {
        const std::size_t track = pack[1] & 0x7F;
        const std::uint8_t sequence = pack[2];
        const bool continues =
            stream.started && stream.nextSequence == sequence && stream.track == track;
        if (!continues) {
            // A pack went missing (bad CRC) or the stream starts here: a
            // string begun in a lost pack is dropped up to its terminator.
            stream.buffer.clear();
            stream.track = track;
            stream.skipping = (pack[3] & 0x0F) != 0;
        }
        stream.started = true;
        stream.nextSequence = static_cast<std::uint8_t>(sequence + 1);
        const std::size_t width = (pack[3] & 0x80) != 0 ? 2 : 1;
        const auto text = pack.subspan(kTextAt, kTextBytes);
        for (std::size_t at = 0; at + width <= text.size(); at += width) {
            const auto character = text.subspan(at, width);
            if (std::all_of(character.begin(), character.end(),
                            [](std::uint8_t byte) { return byte == 0; })) {
                Store(texts, stream, width);
            } else if (!stream.skipping) {
                stream.buffer.append(character.begin(), character.end());
            }
        }
    }

    static void Store(std::array<std::string, kCdTextTracks>& texts, Stream& stream,
                      std::size_t width) {
        if (!stream.skipping && stream.track < kCdTextTracks) {
            const bool sameAsPrevious =
                stream.buffer == std::string(width, static_cast<char>(kTab));
            if (sameAsPrevious && stream.track > 0) {
                texts[stream.track] = texts[stream.track - 1];
            } else if (!sameAsPrevious) {
                texts[stream.track] = stream.buffer;
            }
        }
        stream.skipping = false;
        stream.buffer.clear();
        ++stream.track;
    }

    std::array<BlockState, kBlocks> m_states{};
    std::array<CdTextBlock, kBlocks> m_blocks{};
};

void AppendUtf8(std::string& out, std::uint8_t latin1) {
    if (latin1 < 0x80) {
        out.push_back(static_cast<char>(latin1));
        return;
    }
    out.push_back(static_cast<char>(0xC0 | (latin1 >> 6)));
    out.push_back(static_cast<char>(0x80 | (latin1 & 0x3F)));
}

} // namespace

std::size_t KindIndex(std::uint8_t type) {
    if (type >= cdtext::kTitle && type <= cdtext::kMessage) {
        return type - cdtext::kTitle;
    }
    return type == cdtext::kUpcIsrc ? kCdTextKinds - 1 : kCdTextKinds;
}

const std::string& CdTextBlock::Text(std::uint8_t type, std::size_t track) const {
    const std::size_t kind = KindIndex(type);
    if (kind == kCdTextKinds || track >= kCdTextTracks) {
        return g_noText;
    }
    return texts[kind][track];
}

std::string CdTextBlock::Utf8(std::uint8_t type, std::size_t track) const {
    const std::string& raw = Text(type, track);
    std::string out;
    const bool latin1 = !doubleByte && characterCode == cdtext::kLatin1;
    for (std::size_t at = 0; at < raw.size(); ++at) {
        const auto byte = static_cast<std::uint8_t>(raw[at]);
        if (latin1) {
            AppendUtf8(out, byte);
        } else if (byte < 0x80) {
            out.push_back(static_cast<char>(byte));
        } else {
            out.push_back('?');
            at += doubleByte ? 1 : 0; // the trail byte of a two-byte character
        }
    }
    return out;
}

const CdTextBlock* CdText::Block(std::uint8_t number) const {
    const auto found = std::find_if(blocks.begin(), blocks.end(),
                                    [number](const CdTextBlock& b) { return b.number == number; });
    return found == blocks.end() ? nullptr : &*found;
}

Parsed<CdText> DecodeCdTextPacks(std::span<const std::uint8_t> packs) {
    const std::size_t count = packs.size() / kCdTextPackLength;
    const auto packAt = [packs](std::size_t index) {
        return Pack(packs.subspan(index * kCdTextPackLength, kCdTextPackLength));
    };
    Parsed<CdText> result;
    std::uint32_t good = 0;
    for (std::size_t index = 0; index < count; ++index) {
        const Pack pack = packAt(index);
        if (pack[0] < 0x80 || pack[0] > 0x8F) {
            return Parsed<CdText>::Fail(ParseError::WrongFormat);
        }
        good += CrcMatches(pack) ? 1 : 0;
    }
    result.value.packs = static_cast<std::uint32_t>(count);
    result.value.badCrcPacks = result.value.packs - good;
    result.value.crcChecked = good > 0;
    Decoder decoder;
    for (std::size_t index = 0; index < count; ++index) {
        const Pack pack = packAt(index);
        if (!result.value.crcChecked || CrcMatches(pack)) {
            decoder.Take(pack);
        }
    }
    result.value.blocks = decoder.Finish();
    return result;
}

Parsed<CdText> ParseCdTextReply(std::span<const std::uint8_t> reply) {
    if (reply.size() < 4) {
        return Parsed<CdText>::Fail(ParseError::TooShort);
    }
    const std::size_t declared = std::size_t{2} + GetBe16(reply, 0);
    if (declared < 4) {
        return Parsed<CdText>::Fail(ParseError::Inconsistent);
    }
    // Whole packs only: a drive answering with a TOC of 8-byte entries
    // instead gives itself away here even when it holds less than a pack.
    if ((declared - 4) % kCdTextPackLength != 0) {
        return Parsed<CdText>::Fail(ParseError::WrongFormat);
    }
    return DecodeCdTextPacks(reply.first(std::min(reply.size(), declared)).subspan(4));
}

} // namespace quarnel
