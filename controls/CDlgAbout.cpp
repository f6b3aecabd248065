#include "controls/CDlgAbout.h"

#include "lang/LangText.h"
#include "res/ArtworkCatalog.h"
#include "res/ResourceImages.h"
#include "skin/QtColor.h"
#include "skin/SkinColors.h"
#include "skin/SkinState.h"

#include <QMouseEvent>
#include <QPainter>

namespace {
// Dialog 147 is laid out at two pixels per dialog unit: 187 x 102 units, the
// picture at (1, 2) sized 100 x 50, the text 1028 at (7, 64) sized 173 x 28.
constexpr int kPixelsPerDlu = 2;
constexpr QRect Dlu(int x, int y, int cx, int cy) {
    return {x * kPixelsPerDlu, y * kPixelsPerDlu, cx * kPixelsPerDlu, cy * kPixelsPerDlu};
}
} // namespace

CDlgAbout::CDlgAbout(QWidget* parent)
    : QDialog(parent, Qt::Dialog | Qt::FramelessWindowHint), m_picture(this), m_text(this) {
    setFixedSize(Dlu(0, 0, 187, 102).size());
    setFont(QFont(QStringLiteral("Arial"), 9));
    m_picture.setGeometry(Dlu(1, 2, 100, 50));
    m_picture.setPixmap(res::LoadBitmap(res::kAboutBitmap));
    m_text.setObjectName(QStringLiteral("1028"));
    m_text.setGeometry(Dlu(7, 64, 173, 28));
    m_text.setWordWrap(true);
    m_text.setAlignment(Qt::AlignLeft | Qt::AlignTop);
    // Qt breaks lines at the line feed alone; the carriage returns are dropped
    // for display.
    m_text.setText(AboutText().remove(QLatin1Char('\r')));
    // Transparent text on the painted skin colour.
    QPalette palette = m_text.palette();
    palette.setColor(QPalette::WindowText, skin::ToQColor(skin::AboutTextColor(g_skinIndex)));
    m_text.setPalette(palette);
    m_text.setAutoFillBackground(false);
}

QString CDlgAbout::AboutText() {
    QStringList lines;
    for (const int number : {11, 12, 13}) {
        lines << QString::fromStdString(lang::GetLangString("UIText", number));
    }
    return lines.join(QStringLiteral("\r\n"));
}

void CDlgAbout::paintEvent(QPaintEvent* event) {
    QPainter painter(this);
    painter.fillRect(rect(), skin::ToQColor(g_skinColor));
    QDialog::paintEvent(event);
}

void CDlgAbout::mousePressEvent(QMouseEvent* event) {
    if (event->button() == Qt::LeftButton || event->button() == Qt::RightButton) {
        accept();
        return;
    }
    QDialog::mousePressEvent(event);
}
