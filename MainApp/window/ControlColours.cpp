#include "MainApp/window/ControlColours.h"

#include <algorithm>
#include <array>

namespace window {
namespace {

constexpr std::array<int, 2> kReadouts = {1017, 1031};
constexpr std::array<int, 9> kLabels = {1003, 1004, 1015, 1032, 1039, 1040, 1041, 1047, 1058};

template <std::size_t N> bool Holds(const std::array<int, N>& ids, int id) {
    return std::find(ids.begin(), ids.end(), id) != ids.end();
}

} // namespace

std::optional<QColor> ControlTextColour(int controlId, int skinIndex) {
    if (Holds(kReadouts, controlId)) {
        if (skinIndex == 1) {
            return QColor(0, 226, 0);
        }
        if (skinIndex >= 2 && skinIndex <= 4) {
            return QColor(Qt::black);
        }
        return std::nullopt;
    }
    if (Holds(kLabels, controlId)) {
        return (skinIndex == 3 || skinIndex == 4) ? QColor(Qt::black) : QColor(141, 142, 157);
    }
    return std::nullopt;
}

std::optional<ListColours> TrackListColours(int skinIndex) {
    switch (skinIndex) {
    case 1:
        return ListColours{QColor(0, 130, 192), QColor(162, 246, 166)};
    case 2:
        return ListColours{QColor(24, 26, 37), QColor(187, 183, 240)};
    case 3:
    case 4:
        return ListColours{QColor(Qt::black), QColor(162, 246, 166)};
    default:
        return std::nullopt;
    }
}

} // namespace window
