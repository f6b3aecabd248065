#pragma once
// A small window of the program on the skin's background colour that Escape
// and Enter cannot close: the base of the progress windows and the play bar.

#include <QDialog>

class SkinnedDialog : public QDialog {
public:
    SkinnedDialog(QWidget* parent, Qt::WindowFlags flags) : QDialog(parent, flags) {}

protected:
    void paintEvent(QPaintEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
};
