#include "platform/mixer/SourceLineIds.h"

#include <map>
#include <mutex>

namespace platform::mixer {

std::uint32_t StableSourceLineId(const std::string& key, std::uint32_t first) {
    static std::mutex lock;
    static std::map<std::string, std::uint32_t> ids;
    const std::lock_guard guard(lock);
    const auto [found, added] =
        ids.try_emplace(key, first + static_cast<std::uint32_t>(ids.size()));
    return found->second;
}

} // namespace platform::mixer
