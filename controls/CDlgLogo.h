#pragma once
// The start-up splash: bitmap 212, slightly see-through, centred on the
// screen; it closes itself (as cancelled) two seconds after it is shown.

#include <QDialog>
#include <QPixmap>
#include <QTimer>

class CDlgLogo : public QDialog {
public:
    static constexpr int kShowMs = 2000;
    // About 78 % opaque.
    static constexpr double kOpacity = 200.0 / 255.0;

    explicit CDlgLogo(QWidget* parent = nullptr);

protected:
    void showEvent(QShowEvent* event) override;
    void paintEvent(QPaintEvent* event) override;

private:
    QPixmap m_picture;
    QTimer m_timer;
};
