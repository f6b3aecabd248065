#pragma once
// The main window (dialog 102): a frameless dialog of exactly 280 x 522
// pixels whose controls are made from the template table and found by their
// numbers. It starts capture, lists sources and drives, routes every command,
// and is the view of a recording session.

#include "MainApp/window/ComboSourceSelector.h"
#include "MainApp/window/SliderVolume.h"
#include "engine/ISessionView.h"
#include "mixer/RecordSources.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDialog>
#include <QFont>
#include <QIcon>
#include <QLineEdit>
#include <QPoint>
#include <QProgressBar>
#include <QPushButton>
#include <QRadioButton>
#include <QSlider>
#include <QTreeWidget>

#include <functional>
#include <map>
#include <memory>
#include <mutex>
#include <string>

namespace quarnel {
class DevDeque;
}

namespace window {

class CMainAppDlg : public QDialog, public engine::ISessionView {
    Q_OBJECT

public:
    static constexpr int kTimerRecord = 2;
    static constexpr int kTimerErase = 3;
    static constexpr int kTimerSave = 6;

    // `drives` is the program's device list; it outlives the window.
    explicit CMainAppDlg(quarnel::DevDeque& drives, QWidget* parent = nullptr);
    ~CMainAppDlg() override;

    // The start-up steps; returns false when it ended early (no program
    // folder: no hotkeys, no minimise box).
    bool OnInitDialog();
    // OnInitDialog, then the dialog runs modally; returns its result.
    int DoModal();

    // The control with dialog number `id`; null for an unknown number.
    [[nodiscard]] QWidget* GetDlgItem(int id) const;

    // Timers by number; a running timer of the same number is replaced. The
    // handler of a number is called on every tick of that timer.
    void SetTimer(int id, unsigned periodMs);
    void KillTimer(int id);
    void SetTimerHandler(int id, std::function<void()> handler);

    // Runs `work` on the user-interface thread: at once when called there,
    // otherwise queued.
    void PostToUi(std::function<void()> work);

    // Commands of the shell itself.
    void OnOutputMode(int radioId);
    void OnBrowse();
    void OnHelp();
    void OnCloseButton();
    void OnDriveSelectionChange();

    // engine::ISessionView; the getters may be called from any thread.
    bool IsToFileChecked() override;
    std::string OutputPathText() override;
    bool IsCloseDiscChecked() override;
    int RecordSourceCount() override;
    quarnel::CDevCmdROM* CurrentDevice() override;
    void ShowTime(const std::string& text) override;
    void ShowLength(const std::string& text) override;
    void SetCapacityRange(int low, int high) override;
    void SetCapacityPos(int pos) override;
    void SetControlsRecording(bool recording) override;
    void StartRecordTimer(unsigned periodMs) override;
    void KillRecordTimer() override;
    void StopPlayback() override;
    void EndMainDialog() override;

signals:
    // The window has been shown (every time it is).
    void Shown();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void timerEvent(QTimerEvent* event) override;
    void showEvent(QShowEvent* event) override;

private:
    // The choices a session reads, copied on the user-interface thread so
    // that any thread can read them.
    struct Choices {
        bool toFile = false;
        bool closeDisc = false;
        std::string outputPath;
        int sourceCount = 0;
        quarnel::CDevCmdROM* device = nullptr;
    };

    void CreateControls();
    void ConnectCommands();
    void CreateFonts();
    void SetLabelTexts();
    void SetupTrackList();
    void FillDriveSelector();
    void CreateTooltips();
    void SetReadout(int id, const QString& text);
    void UpdateChoices();
    void ShowControl(int id, bool shown);
    void EnableControl(int id, bool enabled);

    quarnel::DevDeque& m_drives;
    std::map<int, QWidget*> m_controls;

    // The controls, named as the window's members.
    QPushButton* m_banner = nullptr;
    QPushButton* m_btnSkin = nullptr;
    QSlider* m_volume = nullptr;
    QPushButton* m_btnExit = nullptr;
    QPushButton* m_btnStop = nullptr;
    QPushButton* m_btnRecord = nullptr;
    QPushButton* m_btnSave = nullptr;
    QPushButton* m_btnErase = nullptr;
    QPushButton* m_btnBrowse = nullptr;
    QPushButton* m_btnAbout = nullptr;
    QPushButton* m_btnHelp = nullptr;
    QPushButton* m_btnClose = nullptr;
    QPushButton* m_btnMin = nullptr;
    QPushButton* m_playBarHost = nullptr;
    QCheckBox* m_closeDisc = nullptr;
    QProgressBar* m_progress = nullptr;
    QTreeWidget* m_trackList = nullptr;
    QComboBox* m_driveSelector = nullptr;
    QComboBox* m_sourceSelector = nullptr;
    QIcon m_hIcon;

    std::unique_ptr<ComboSourceSelector> m_sourceSelectorView;
    std::unique_ptr<SliderVolume> m_volumeView;
    std::unique_ptr<RecordSources> m_recordSources;

    quarnel::CDevCmdROM* m_pDevice = nullptr;

    QFont m_labelFont;
    QFont m_titleFont;

    std::map<int, int> m_timerIds; // window timer number -> Qt timer id
    std::map<int, std::function<void()>> m_timerHandlers;

    // Dragging without the window manager's help.
    bool m_dragging = false;
    QPoint m_dragOffset;

    mutable std::mutex m_choicesMutex;
    Choices m_choices;
};

} // namespace window
