#include "controls/ProgressLabelStyle.h"

#include "lang/LangText.h"

#include <QFont>
#include <QPalette>

namespace controls {

void ApplyProgressFont(QWidget& widget) {
    QFont font(QString::fromStdString(lang::GetLanguageFont()));
    font.setPixelSize(12);
    font.setWeight(QFont::Thin); // 100
    widget.setFont(font);
}

void ApplyProgressLabelColour(QWidget& label) {
    QPalette palette = label.palette();
    palette.setColor(QPalette::WindowText, QColor(141, 142, 157));
    label.setPalette(palette);
    label.setAutoFillBackground(false);
}

} // namespace controls
