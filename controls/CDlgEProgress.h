#pragma once
// The erase progress window (dialog 130): a bar (control 1016) and the label
// "Erasing......" (control 1028) on the skin colour. The user cannot close
// it: Escape and Enter do nothing; the owner's one-second timer moves the bar
// (DiscEraser::Tick) and ends the window when the drive is done.

#include "controls/SkinnedDialog.h"
#include <QLabel>
#include <QProgressBar>

class CDlgEProgress : public SkinnedDialog {
public:
    explicit CDlgEProgress(QWidget* parent = nullptr);

    [[nodiscard]] int GetPos() const { return m_bar.value(); }
    void SetPos(int position) { m_bar.setValue(position); }
    void SetRange(int lower, int upper) { m_bar.setRange(lower, upper); }

    [[nodiscard]] const QProgressBar& Bar() const { return m_bar; }
    [[nodiscard]] const QLabel& Label() const { return m_label; }

protected:
    void showEvent(QShowEvent* event) override;

private:
    QProgressBar m_bar;
    QLabel m_label;
};
