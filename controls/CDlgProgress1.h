#pragma once
// The save progress window (dialog 131): a caption (control 1018) that the
// owner sets, the file being written (control 1019), two bars (1016 and
// 1020) shown by two flags, and Cancel (control 2), which asks message 29 and
// ends the window with the cancel result only on Yes. Escape and Enter do
// nothing; the owner's 100 ms timer fills the window (TrackSaver::Tick) and
// ends it when the save is done.

#include "controls/SkinnedDialog.h"
#include <QLabel>
#include <QProgressBar>
#include <QPushButton>

class CDlgProgress1 : public SkinnedDialog {
public:
    explicit CDlgProgress1(QWidget* parent = nullptr);

    void SetCaption(const QString& caption);
    // Which bars are shown; lays the window out for them.
    void SetBars(bool first, bool second);
    void SetItemText(const QString& text) { m_item.setText(text); }
    void SetPos(int first, int second);
    void SetRange(int firstUpper, int secondUpper);

    [[nodiscard]] const QLabel& Caption() const { return m_caption; }
    [[nodiscard]] const QLabel& Item() const { return m_item; }
    [[nodiscard]] const QProgressBar& FirstBar() const { return m_first; }
    [[nodiscard]] const QProgressBar& SecondBar() const { return m_second; }
    [[nodiscard]] QPushButton& CancelButton() { return m_cancel; }

protected:
    void showEvent(QShowEvent* event) override;

private:
    void AskCancel();

    QLabel m_caption;
    QLabel m_item;
    QProgressBar m_first;
    QProgressBar m_second;
    QPushButton m_cancel;
};
