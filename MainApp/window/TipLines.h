#pragma once
// Tooltip texts broken into lines no wider than a given width, since Qt shows
// a plain-text tooltip on as few lines as it has line breaks.

#include <QFontMetrics>
#include <QString>

namespace window {

// `text` with line breaks added so that no line is wider than `widthPx` in
// `metrics`: between words where there are spaces, else between characters
// (texts without spaces, such as Chinese ones). Existing breaks are kept.
[[nodiscard]] QString BreakIntoLines(const QString& text, const QFontMetrics& metrics, int widthPx);

} // namespace window
