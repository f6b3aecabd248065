#include "res/gen/ThemeIcons.h"

#include "res/gen/PictureArt.h"

#include <QDir>
#include <QImage>

#include <array>
#include <cstdio>

namespace artgen {

namespace {

// The sizes of the menus, panels, launchers and application lists.
constexpr std::array<int, 8> kIconSizesPx = {16, 22, 24, 32, 48, 64, 128, 256};

} // namespace

bool WriteThemeIcons(const QString& folder) {
    for (const int pixels : kIconSizesPx) {
        const QString sizeFolder = QStringLiteral("%1/%2x%2/apps").arg(folder).arg(pixels);
        const QString path = sizeFolder + QStringLiteral("/sondrel.png");
        if (!QDir().mkpath(sizeFolder) || !DrawProgramIcon(pixels).save(path, "PNG")) {
            std::fprintf(stderr, "sondrel-artgen: cannot write %s\n", qPrintable(path));
            return false;
        }
    }
    return true;
}

} // namespace artgen
