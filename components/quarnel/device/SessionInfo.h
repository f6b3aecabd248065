#pragma once
// The sessions of a disc from a full TOC: one TocData per session.

#include "components/quarnel/device/TocData.h"

#include <vector>

namespace quarnel {

class SessionInfo {
public:
    // descriptors: the full-TOC reply from byte 4 on; length: the reply's
    // data length minus 2. Whole 11-byte entries within length are used;
    // a negative length, null data or entries of session 0 give no sessions.
    SessionInfo(const unsigned char* descriptors, int length);

    [[nodiscard]] int GetSessionCount() const { return static_cast<int>(m_sessions.size()); }
    // 1-based, in the order of the session numbers; null outside 1..count.
    [[nodiscard]] const TocData* GetTocData(int session) const;

private:
    std::vector<TocData> m_sessions;
};

} // namespace quarnel
