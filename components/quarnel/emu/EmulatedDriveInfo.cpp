// Status and identity commands of the emulated drive: TEST UNIT READY, REQUEST
// SENSE, INQUIRY, GET CONFIGURATION, MODE SENSE and MODE SELECT.
#include "components/quarnel/emu/CapabilitiesPage.h"
#include "components/quarnel/emu/EmulatedDrive.h"
#include "components/quarnel/emu/FixedSense.h"
#include "components/quarnel/mmc/ByteOrder.h"

#include <algorithm>

namespace quarnel::emu {

namespace {

constexpr std::size_t kInquiryBytes = 96;
constexpr std::size_t kModeHeaderBytes = 8;
constexpr std::uint8_t kPageWriteParameters = 0x05;
constexpr std::uint8_t kPageCapabilities = 0x2A;
constexpr std::uint8_t kPageAll = 0x3F;
constexpr std::uint8_t kPageControlChangeable = 1;
constexpr std::uint8_t kPageControlSaved = 3;

void PutText(std::span<std::uint8_t> out, std::size_t at, std::size_t width,
             const std::string& text) {
    for (std::size_t i = 0; i < width; ++i) {
        out[at + i] = i < text.size() ? static_cast<std::uint8_t>(text[i]) : ' ';
    }
}

struct Feature {
    std::uint16_t code = 0;
    bool current = false;
    std::vector<std::uint8_t> body;
};

void AppendFeature(std::vector<std::uint8_t>& out, const Feature& feature, std::uint8_t version) {
    const std::size_t at = out.size();
    out.resize(at + 4);
    PutBe16(out, at, feature.code);
    out[at + 2] = static_cast<std::uint8_t>((version << 2) | 0x02 | (feature.current ? 1 : 0));
    out[at + 3] = static_cast<std::uint8_t>(feature.body.size());
    out.insert(out.end(), feature.body.begin(), feature.body.end());
}

} // namespace

EmulatedDrive::Answer EmulatedDrive::TestUnitReady() {
    return {MediumReady()};
}

EmulatedDrive::Answer EmulatedDrive::RequestSense(const Command& command) {
    const std::uint8_t allocation = command.cdb.bytes[4];
    FixedSenseBytes bytes{};
    if (m_unitAttention) {
        bytes = BuildFixedSense(sense::kMediumMayHaveChanged, std::nullopt);
        m_unitAttention = false;
    } else if (!m_settings.faults.notReady && Busy()) {
        bytes = BuildFixedSense(m_busy.sense, BusyProgress());
    } else {
        // Reports the condition a TEST UNIT READY would meet, else the last
        // failure's sense once.
        const SenseCode ready = MediumReady();
        bytes = BuildFixedSense(ready.Good() ? m_lastSense : ready, std::nullopt);
        m_lastSense = sense::kNone;
    }
    return Reply(command, bytes, allocation);
}

EmulatedDrive::Answer EmulatedDrive::Inquiry(const Command& command) {
    if ((command.cdb.bytes[1] & 0x01) != 0 || command.cdb.bytes[2] != 0) {
        return {sense::kInvalidField};
    }
    std::array<std::uint8_t, kInquiryBytes> out{};
    out[0] = 0x05; // CD/DVD device
    out[1] = 0x80; // removable medium
    out[2] = 0x05;
    out[3] = 0x02;
    out[4] = kInquiryBytes - 5;
    PutText(out, 8, 8, m_settings.vendor);
    PutText(out, 16, 16, m_settings.product);
    PutText(out, 32, 4, m_settings.revision);
    return Reply(command, out, GetBe16(command.cdb.bytes, 3));
}

EmulatedDrive::Answer EmulatedDrive::GetConfiguration(const Command& command) {
    const std::uint8_t requestType = command.cdb.bytes[1] & 0x03;
    const std::uint16_t startFeature = GetBe16(command.cdb.bytes, 2);
    if (requestType == 3) {
        return {sense::kInvalidField};
    }
    const DriveCapabilities& caps = m_settings.capabilities;
    const bool present = !m_state.trayOpen && m_state.HasMedium();
    const std::uint16_t current = present ? m_state.Traits().profile : 0;

    struct Profile {
        std::uint16_t number;
        bool supported;
    };
    const bool dvd = caps.dvdRw || caps.dvdPlusRw || caps.dvdRam;
    const std::array<Profile, 7> profiles{{{0x001A, caps.dvdPlusRw},
                                           {0x0014, caps.dvdRw},
                                           {0x0012, caps.dvdRam},
                                           {0x0010, dvd},
                                           {0x000A, caps.cdRw},
                                           {0x0009, caps.cdR},
                                           {0x0008, true}}};
    Feature profileList{0x0000, true, {}};
    for (const Profile& profile : profiles) {
        if (profile.supported) {
            const std::size_t at = profileList.body.size();
            profileList.body.resize(at + 4);
            PutBe16(profileList.body, at, profile.number);
            profileList.body[at + 2] = profile.number == current ? 1 : 0;
        }
    }
    const bool cdWritable =
        present && (m_state.medium == MediumKind::CdR || m_state.medium == MediumKind::CdRw);
    const std::vector<Feature> features{
        profileList,
        {0x0001, true, {0, 0, 0, 2, 0, 0, 0, 0}}, // core: ATAPI
        // Polled media events (GET EVENT STATUS NOTIFICATION).
        {0x0002, true, {0, 0, 0, 0}},
        {0x0003,
         true,
         {static_cast<std::uint8_t>(0x20 | (caps.eject ? 0x08 : 0) | (m_state.locked ? 0x04 : 0) |
                                    (caps.lock ? 0x01 : 0)),
          0, 0, 0}},
        // READ CD with C2 error pointers.
        {0x001E, present && m_state.Traits().cd, {0x02, 0, 0, 0}},
        // Track at once; data block types 0 (audio) and 8 (mode 1).
        {0x002D,
         cdWritable,
         {static_cast<std::uint8_t>((caps.underrunProtection ? 0x40 : 0) |
                                    (caps.testWrite ? 0x04 : 0) | (caps.cdRw ? 0x02 : 0)),
          0, 0x01, 0x01}},
        // READ BUFFER CAPACITY in blocks, SET CD SPEED, speeds from GET PERFORMANCE.
        {0x0107, true, {0x1A, 0, 0, 0}},
    };
    std::vector<std::uint8_t> out(8, 0);
    PutBe16(out, 6, current);
    for (const Feature& feature : features) {
        const bool wanted = requestType == 2 ? feature.code == startFeature
                                             : feature.code >= startFeature &&
                                                   (requestType == 0 || feature.current);
        if (wanted && (feature.code != 0x002D || caps.cdR || caps.cdRw)) {
            AppendFeature(out, feature, feature.code == 0x0001 || feature.code == 0x0002 ? 1 : 0);
        }
    }
    PutBe32(out, 0, static_cast<std::uint32_t>(out.size() - 4));
    return Reply(command, out, GetBe16(command.cdb.bytes, 7));
}

EmulatedDrive::Answer EmulatedDrive::ModeSense(const Command& command) {
    const std::uint8_t pageControl = command.cdb.bytes[2] >> 6;
    const std::uint8_t page = command.cdb.bytes[2] & 0x3F;
    if (pageControl == kPageControlSaved) {
        return {sense::kSavingNotSupported};
    }
    if (page != kPageWriteParameters && page != kPageCapabilities && page != kPageAll) {
        return {sense::kInvalidField};
    }
    std::vector<std::uint8_t> out(kModeHeaderBytes, 0);
    if (page == kPageWriteParameters || page == kPageAll) {
        const auto body = pageControl == kPageControlChangeable
                              ? WriteParametersChangeable()
                              : BuildWriteParametersPage(m_writeParameters);
        out.insert(out.end(), body.begin(), body.end());
    }
    if (page == kPageCapabilities || page == kPageAll) {
        auto body = BuildCapabilitiesPage(m_settings, m_writeSpeedX, m_state.locked);
        if (pageControl == kPageControlChangeable) {
            std::fill(body.begin() + 2, body.end(), std::uint8_t{0});
        }
        out.insert(out.end(), body.begin(), body.end());
    }
    PutBe16(out, 0, static_cast<std::uint16_t>(out.size() - 2));
    return Reply(command, out, GetBe16(command.cdb.bytes, 7));
}

EmulatedDrive::Answer EmulatedDrive::ModeSelect(const Command& command) {
    const std::uint16_t length = GetBe16(command.cdb.bytes, 7);
    if ((command.cdb.bytes[1] & 0x10) == 0 || command.direction != DataDirection::ToDevice) {
        return {sense::kInvalidField};
    }
    if (length < kModeHeaderBytes || command.data.size() < length) {
        return {sense::kParameterListLength};
    }
    const std::span<const std::uint8_t> list = command.data.first(length);
    std::size_t at = kModeHeaderBytes + GetBe16(list, 6);
    WriteParameters parameters = m_writeParameters;
    while (at < list.size()) {
        if (at + 2 > list.size() || at + 2 + list[at + 1] > list.size()) {
            return {sense::kParameterListLength};
        }
        const std::span<const std::uint8_t> page = list.subspan(at, std::size_t{list[at + 1]} + 2);
        if ((page[0] & 0x3F) != kPageWriteParameters) {
            return {sense::kInvalidParameter};
        }
        const SenseCode parsed = ParseWriteParametersPage(
            page, m_settings.capabilities, m_state.Traits().cd || !m_state.HasMedium(), parameters);
        if (!parsed.Good()) {
            return {parsed};
        }
        at += page.size();
    }
    m_writeParameters = parameters;
    return {};
}

} // namespace quarnel::emu
