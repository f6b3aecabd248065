#include "res/gen/SkinArt.h"

#include <cmath>

namespace artgen {

const std::array<SkinArt, 4>& SkinArts() {
    static const std::array<SkinArt, 4> arts = {{
        {1, QColor(34, 43, 60), QColor(12, 16, 23), QColor(86, 104, 138), QColor(0, 0, 0),
         QColor(20, 26, 38), QColor(4, 20, 10), QColor(8, 11, 18), QColor(2, 8, 14),
         QColor(0, 130, 192), QColor(230, 246, 255), QColor(12, 16, 23)},
        {2, QColor(246, 246, 248), QColor(196, 198, 204), QColor(255, 255, 255),
         QColor(120, 122, 132), QColor(32, 35, 48), QColor(196, 210, 184), QColor(238, 240, 244),
         QColor(14, 18, 28), QColor(72, 84, 120), QColor(255, 255, 255), QColor(227, 227, 227)},
        {3, QColor(255, 156, 108), QColor(220, 92, 44), QColor(255, 208, 180), QColor(136, 52, 18),
         QColor(255, 222, 200), QColor(255, 240, 222), QColor(255, 230, 212), QColor(24, 14, 10),
         QColor(122, 40, 8), QColor(255, 236, 220), QColor(249, 120, 69)},
        {4, QColor(255, 182, 234), QColor(226, 110, 194), QColor(255, 228, 246),
         QColor(130, 40, 104), QColor(255, 228, 246), QColor(255, 242, 250), QColor(255, 234, 248),
         QColor(26, 10, 24), QColor(128, 28, 100), QColor(255, 232, 248), QColor(249, 143, 218)},
    }};
    return arts;
}

QColor Mix(const QColor& a, const QColor& b, double t) {
    const auto channel = [t](int x, int y) {
        return static_cast<int>(std::lround(x + (y - x) * t));
    };
    return QColor(channel(a.red(), b.red()), channel(a.green(), b.green()),
                  channel(a.blue(), b.blue()));
}

} // namespace artgen
