#pragma once
// The about box (dialog 147): bitmap 146 and the product's three about lines,
// on the skin colour, without caption or buttons; a left or right click
// anywhere on it closes it (accepted).

#include <QDialog>
#include <QLabel>

class CDlgAbout : public QDialog {
public:
    explicit CDlgAbout(QWidget* parent = nullptr);

    // "UIText" 11, 12 and 13 of the language file joined by CR LF.
    [[nodiscard]] static QString AboutText();

    // The text control 1028, for the owner and for tests.
    [[nodiscard]] const QLabel& TextControl() const { return m_text; }

protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;

private:
    QLabel m_picture;
    QLabel m_text;
};
