#pragma once
// The hotkey settings dialog (dialog 193): a check box that switches the
// hotkey on, the key (F1-F12, 0-9, A-Z) and the modifier (none, left or right
// Ctrl or Alt). OK writes the three registry values; Cancel writes nothing.
// Painted in the skin's colour; the two labels and the check box in white
// (skin 1) or black (skin 2) text.

#include <QDialog>

#include <cstdint>

class QCheckBox;
class QComboBox;
class QGroupBox;
class QLabel;
class QPushButton;

class CDlgSetKey : public QDialog {
    Q_OBJECT

public:
    // `skinColor` is 0x00BBGGRR.
    CDlgSetKey(int skinIndex, std::uint32_t skinColor, QWidget* parent = nullptr);

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    void OnInitDialog();
    void OnUseClicked();
    void OnOK();
    void PlaceControls();
    void ColourLabels(int skinIndex);

    QColor m_background;
    QCheckBox* m_use = nullptr;          // 1049
    QComboBox* m_keyList = nullptr;      // 1048
    QLabel* m_modifierLabel = nullptr;   // 1028
    QComboBox* m_modifierList = nullptr; // 1051
    QGroupBox* m_noteGroup = nullptr;    // 1053
    QLabel* m_note = nullptr;            // 1052
    QPushButton* m_ok = nullptr;         // 1
    QPushButton* m_cancel = nullptr;     // 2
};
