#include "res/ResourceImages.h"

#include <QString>

// The artwork lives in a static library; registering it explicitly keeps the
// linker from dropping it.
static void RegisterArtwork() {
    Q_INIT_RESOURCE(sondrel_art);
}

namespace res {
namespace {

QString ResourcePath(const char* kind, unsigned id) {
    static const bool s_registered = (RegisterArtwork(), true);
    static_cast<void>(s_registered);
    return QStringLiteral(":/res/%1/%2.png").arg(QLatin1String(kind)).arg(id & 0xFFFFu);
}

} // namespace

QPixmap LoadBitmap(unsigned id) {
    return QPixmap(ResourcePath("bitmap", id));
}

QIcon LoadIcon(unsigned id) {
    const QPixmap picture(ResourcePath("icon", id));
    return picture.isNull() ? QIcon() : QIcon(picture);
}

QCursor LoadCursor(unsigned id) {
    const QPixmap picture(ResourcePath("cursor", id));
    if (picture.isNull()) {
        return QCursor(Qt::ArrowCursor);
    }
    // The hot spot travels in the picture's text fields, written by the
    // generator; (0, 0) when absent.
    const QImage image = picture.toImage();
    return QCursor(picture, image.text(QStringLiteral("HotSpotX")).toInt(),
                   image.text(QStringLiteral("HotSpotY")).toInt());
}

} // namespace res
