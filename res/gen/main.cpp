// Draws every picture of the program into a folder and writes the resource
// collection file that lists them:
//   sondrel-artgen <output folder> <collection file>
// or draws the program's icon for the desktop's icon theme:
//   sondrel-artgen --theme-icons <hicolor folder>
// Exits with 1 when a picture cannot be drawn at its catalogued size or saved.

#include "res/ArtworkCatalog.h"
#include "res/gen/ArtBook.h"
#include "res/gen/ThemeIcons.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QGuiApplication>
#include <QTextStream>

#include <cstdio>

namespace {

const char* KindFolder(res::ArtKind kind) {
    switch (kind) {
    case res::ArtKind::Bitmap:
        return "bitmap";
    case res::ArtKind::Icon:
        return "icon";
    case res::ArtKind::Cursor:
        return "cursor";
    }
    return "bitmap";
}

} // namespace

int main(int argc, char** argv) {
    if (argc != 3) {
        std::fprintf(stderr, "usage: sondrel-artgen <output folder> <collection file>\n"
                             "       sondrel-artgen --theme-icons <hicolor folder>\n");
        return 2;
    }
    // Text needs the font database, which needs an application; no display.
    qputenv("QT_QPA_PLATFORM", "offscreen");
    const QGuiApplication app(argc, argv);
    if (qstrcmp(argv[1], "--theme-icons") == 0) {
        return artgen::WriteThemeIcons(QString::fromLocal8Bit(argv[2])) ? 0 : 1;
    }
    const QString root = QString::fromLocal8Bit(argv[1]);
    QString collection;
    QTextStream out(&collection);
    out << "<!DOCTYPE RCC>\n<RCC version=\"1.0\">\n<qresource prefix=\"/res\">\n";
    for (const res::ArtEntry& entry : res::g_artCatalog) {
        const QImage image = artgen::DrawArt(entry);
        const QString relative =
            QStringLiteral("%1/%2.png").arg(QLatin1String(KindFolder(entry.kind))).arg(entry.id);
        if (image.width() != entry.width || image.height() != entry.height) {
            std::fprintf(stderr, "sondrel-artgen: %s drawn at the wrong size\n",
                         qPrintable(relative));
            return 1;
        }
        const QString path = root + QLatin1Char('/') + relative;
        if (!QDir().mkpath(QFileInfo(path).absolutePath()) || !image.save(path, "PNG")) {
            std::fprintf(stderr, "sondrel-artgen: cannot write %s\n", qPrintable(path));
            return 1;
        }
        out << "  <file alias=\"" << relative << "\">" << path << "</file>\n";
    }
    out << "</qresource>\n</RCC>\n";
    QFile file(QString::fromLocal8Bit(argv[2]));
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate) ||
        file.write(collection.toUtf8()) != collection.toUtf8().size()) {
        std::fprintf(stderr, "sondrel-artgen: cannot write %s\n", argv[2]);
        return 1;
    }
    return 0;
}
