#include "MainApp/window/TipLines.h"

#include <QStringList>

namespace window {
namespace {

// Appends `piece` to `line`, first ending the line when the piece would not
// fit on it; a piece wider than a line on its own is cut between characters.
void AddPiece(QString piece, QStringList& lines, QString& line, const QFontMetrics& metrics,
              int widthPx) {
    if (!line.isEmpty() && metrics.horizontalAdvance(line + piece) > widthPx) {
        lines << line;
        line.clear();
        piece = piece.trimmed();
    }
    for (const QChar character : piece) {
        if (!line.isEmpty() && metrics.horizontalAdvance(line + character) > widthPx) {
            lines << line;
            line.clear();
        }
        line += character;
    }
}

} // namespace

QString BreakIntoLines(const QString& text, const QFontMetrics& metrics, int widthPx) {
    QStringList lines;
    for (const QString& paragraph : text.split(QLatin1Char('\n'))) {
        QString line;
        const QStringList words = paragraph.split(QLatin1Char(' '));
        for (qsizetype i = 0; i < words.size(); ++i) {
            AddPiece(i == 0 ? words[i] : QLatin1Char(' ') + words[i], lines, line, metrics,
                     widthPx);
        }
        lines << line;
    }
    return lines.join(QLatin1Char('\n'));
}

} // namespace window
