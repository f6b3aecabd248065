#include "MainApp/setkey/CDlgSetKey.h"

#include "MainApp/hotkey/HotkeyKeyList.h"
#include "MainApp/hotkey/HotkeySettings.h"
#include "lang/LangText.h"

#include <QCheckBox>
#include <QComboBox>
#include <QFontMetrics>
#include <QGroupBox>
#include <QLabel>
#include <QPainter>
#include <QPushButton>

namespace {

// Dialog-unit rectangles of the template (x, y, width, height).
struct DluRect {
    int x;
    int y;
    int cx;
    int cy;
};

constexpr int kDialogWidthDlu = 275;
constexpr int kDialogHeightDlu = 95;
constexpr DluRect kUseRect{8, 11, 116, 8};
constexpr DluRect kKeyListRect{8, 27, 102, 97};
constexpr DluRect kModifierLabelRect{8, 46, 72, 9};
constexpr DluRect kModifierListRect{7, 61, 101, 70};
constexpr DluRect kNoteGroupRect{125, 10, 140, 63};
constexpr DluRect kNoteRect{129, 18, 130, 49};
constexpr DluRect kOkRect{100, 79, 37, 12};
constexpr DluRect kCancelRect{152, 79, 37, 12};

// Dialog units measured on the dialog's font, as the template's units are:
// a quarter of the average letter width across, an eighth of the line height down.
class DialogUnits {
public:
    explicit DialogUnits(const QFont& font) {
        const QFontMetrics metrics(font);
        const int letters =
            metrics.horizontalAdvance("ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz");
        m_baseX = (letters / 26 + 1) / 2;
        m_baseY = metrics.height();
    }
    int X(int dlu) const { return dlu * m_baseX / 4; }
    int Y(int dlu) const { return dlu * m_baseY / 8; }
    QRect Rect(const DluRect& r) const {
        return {X(r.x), Y(r.y), X(r.x + r.cx) - X(r.x), Y(r.y + r.cy) - Y(r.y)};
    }

private:
    int m_baseX = 1;
    int m_baseY = 1;
};

// "UIText" `number` of the language file; the template's text when it is missing.
QString UiText(int number, const char* templateText) {
    const std::string text = lang::GetLangString("UIText", number);
    return QString::fromUtf8(text.empty() ? std::string(templateText) : text);
}

} // namespace

CDlgSetKey::CDlgSetKey(int skinIndex, std::uint32_t skinColor, QWidget* parent)
    : QDialog(parent, Qt::Dialog | Qt::CustomizeWindowHint),
      m_background(static_cast<int>(skinColor & 0xFFu), static_cast<int>((skinColor >> 8) & 0xFFu),
                   static_cast<int>((skinColor >> 16) & 0xFFu)),
      m_use(new QCheckBox(this)), m_keyList(new QComboBox(this)), m_modifierLabel(new QLabel(this)),
      m_modifierList(new QComboBox(this)), m_noteGroup(new QGroupBox(this)),
      m_note(new QLabel(this)), m_ok(new QPushButton(this)), m_cancel(new QPushButton(this)) {
    setModal(true);
    setFont(QFont("Arial", 9));
    m_use->setObjectName("1049");
    m_keyList->setObjectName("1048");
    m_modifierLabel->setObjectName("1028");
    m_modifierList->setObjectName("1051");
    m_noteGroup->setObjectName("1053");
    m_note->setObjectName("1052");
    m_ok->setObjectName("1");
    m_cancel->setObjectName("2");
    m_note->setWordWrap(true);
    m_note->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    m_ok->setDefault(true);
    for (const std::string_view name : hotkey::kHotkeyModifierNames) {
        m_modifierList->addItem(QString::fromUtf8(name.data(), static_cast<int>(name.size())));
    }
    PlaceControls();
    ColourLabels(skinIndex);
    connect(m_use, &QCheckBox::clicked, this, &CDlgSetKey::OnUseClicked);
    connect(m_ok, &QPushButton::clicked, this, &CDlgSetKey::OnOK);
    connect(m_cancel, &QPushButton::clicked, this, &QDialog::reject);
    OnInitDialog();
}

void CDlgSetKey::PlaceControls() {
    const DialogUnits units(font());
    setFixedSize(units.X(kDialogWidthDlu), units.Y(kDialogHeightDlu));
    m_use->setGeometry(units.Rect(kUseRect));
    m_modifierLabel->setGeometry(units.Rect(kModifierLabelRect));
    m_noteGroup->setGeometry(units.Rect(kNoteGroupRect));
    m_note->setGeometry(units.Rect(kNoteRect));
    m_ok->setGeometry(units.Rect(kOkRect));
    m_cancel->setGeometry(units.Rect(kCancelRect));
    // A drop-down list's template height is that of its open list; closed, it
    // is one line high.
    for (const auto& [list, rect] :
         {std::pair{m_keyList, kKeyListRect}, std::pair{m_modifierList, kModifierListRect}}) {
        const QRect area = units.Rect(rect);
        list->setGeometry(area.x(), area.y(), area.width(), list->sizeHint().height());
    }
}

void CDlgSetKey::ColourLabels(int skinIndex) {
    if (skinIndex != 1 && skinIndex != 2) {
        return;
    }
    const QColor text = skinIndex == 1 ? Qt::white : Qt::black;
    for (QWidget* label : {static_cast<QWidget*>(m_modifierLabel), static_cast<QWidget*>(m_use),
                           static_cast<QWidget*>(m_note)}) {
        QPalette palette = label->palette();
        palette.setColor(QPalette::WindowText, text);
        label->setPalette(palette);
    }
}

void CDlgSetKey::OnInitDialog() {
    m_use->setText(UiText(21, "Use the keyboard shortcuts"));
    m_modifierLabel->setText(UiText(22, "Use the auxiliary key"));
    m_noteGroup->setTitle(UiText(23, "Note"));
    m_note->setText(UiText(24, "    If you select the use the keyboard shortcuts, then you can "
                               "press the shortcuts when you use any other softwares in windows "
                               "to start recording,  at second you press the shortcuts, it will "
                               "stop recording."));
    m_ok->setText(UiText(25, "OK"));
    m_cancel->setText(UiText(15, "Cancel"));

    for (int position = 0; position < hotkey::kHotkeyKeyCount; ++position) {
        m_keyList->insertItem(position, QString::fromStdString(hotkey::HotkeyKeyName(position)));
    }
    m_keyList->setCurrentIndex(0);
    m_modifierList->setCurrentIndex(0);

    std::int32_t type = 0;
    platform::DWORD value = 0;
    platform::DWORD used = 0;
    hotkey::ReadHotkeySettings(type, value, used);
    m_keyList->setEnabled(used == 1);
    m_modifierList->setEnabled(used == 1);
    m_use->setChecked(used == 1);
    if (type >= 0 && type < m_modifierList->count()) {
        m_modifierList->setCurrentIndex(type);
    }
    if (const auto position = hotkey::HotkeyKeyPosition(value)) {
        m_keyList->setCurrentIndex(*position);
    }
}

void CDlgSetKey::OnUseClicked() {
    const bool on = m_use->isChecked();
    m_keyList->setEnabled(on);
    m_modifierList->setEnabled(on);
}

void CDlgSetKey::OnOK() {
    const auto type = static_cast<platform::DWORD>(m_modifierList->currentIndex());
    const platform::DWORD value = hotkey::HotkeyKeyCode(m_keyList->currentIndex());
    const platform::DWORD used = m_use->isChecked() ? 1 : 0;
    if (hotkey::WriteHotkeySettings(type, value, used)) {
        accept();
    }
}

void CDlgSetKey::paintEvent(QPaintEvent* event) {
    QPainter painter(this);
    painter.fillRect(rect(), m_background);
    QDialog::paintEvent(event);
}
