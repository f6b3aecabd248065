#include "mixer/SourceLinePosition.h"

#include "mixer/RecordMixer.h"

std::optional<SourceLinePosition> FindSourceLine(std::uint32_t lineId) {
    RecordMixer mixer;
    if (!mixer.Open() || !mixer.FindSelectControl()) {
        return std::nullopt;
    }
    for (std::uint32_t k = 0; k < mixer.ItemCount(); ++k) {
        MIXERLINE line;
        if (mixer.Item(k).dwParam1 == lineId && mixer.ItemLine(k, line)) {
            return SourceLinePosition{k, line.dwSource};
        }
    }
    return std::nullopt;
}
