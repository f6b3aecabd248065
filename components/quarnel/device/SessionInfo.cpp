#include "components/quarnel/device/SessionInfo.h"

#include <map>

namespace quarnel {

SessionInfo::SessionInfo(const unsigned char* descriptors, int length) {
    if (descriptors == nullptr || length <= 0) {
        return;
    }
    const auto parsed = ParseFullTocDescriptors({descriptors, static_cast<std::size_t>(length)});
    if (!parsed.Ok()) {
        return;
    }
    std::map<std::uint8_t, std::vector<FullTocDescriptor>> bySession;
    for (const FullTocDescriptor& d : parsed.value) {
        bySession[d.session].push_back(d);
    }
    for (const auto& [number, entries] : bySession) {
        m_sessions.emplace_back(entries);
    }
}

const TocData* SessionInfo::GetTocData(int session) const {
    if (session < 1 || session > GetSessionCount()) {
        return nullptr;
    }
    return &m_sessions[static_cast<std::size_t>(session - 1)];
}

} // namespace quarnel
