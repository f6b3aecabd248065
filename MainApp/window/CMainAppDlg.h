#pragma once
// The main window (dialog 102): a frameless dialog of exactly 280 x 522
// pixels whose controls are made from the template table and found by their
// numbers. It starts capture, lists sources and drives, routes every command,
// and is the view of a recording session.

#include "MainApp/hotkey/IHotkeyWindow.h"
#include "MainApp/window/ComboSourceSelector.h"
#include "MainApp/window/ListTrackRows.h"
#include "MainApp/window/SliderVolume.h"
#include "MainApp/window/TimedTake.h"
#include "components/oskary/WaveDisplay.h"
#include "controls/CBmpBtn.h"
#include "controls/CDlgAudioPlay.h"
#include "controls/CDlgEProgress.h"
#include "controls/CDlgProgress1.h"
#include "controls/CListCtrlEx.h"
#include "disc/DiscChangeWatch.h"
#include "disc/DiscEraser.h"
#include "disc/TrackAddressTable.h"
#include "disc/TrackListReader.h"
#include "disc/TrackSaver.h"
#include "engine/ISessionView.h"
#include "engine/session/RecordSession.h"
#include "mixer/RecordSources.h"
#include "mixer/SourceWatch.h"
#include "online/CUpdate.h"
#include "online/widgets/CAdBtn.h"

#include <QBrush>
#include <QCheckBox>
#include <QComboBox>
#include <QDialog>
#include <QFont>
#include <QIcon>
#include <QLineEdit>
#include <QMenu>
#include <QPainter>
#include <QPixmap>
#include <QPoint>
#include <QProgressBar>
#include <QPushButton>
#include <QRadioButton>
#include <QSlider>
#include <QTimer>

#include <functional>
#include <map>
#include <memory>
#include <mutex>
#include <optional>
#include <string>

namespace quarnel {
class DevDeque;
}

namespace window {

class CMainAppDlg : public QDialog, public engine::ISessionView, public hotkey::IHotkeyWindow {
    Q_OBJECT

public:
    static constexpr int kTimerRecord = 2;
    static constexpr int kTimerErase = 3;
    static constexpr int kTimerSave = 6;
    // Set (to anything) to start without the splash window.
    static constexpr const char* kNoSplashVariable = "SONDREL_NO_SPLASH";

    // Asks for the folder that saved tracks go into; nothing when the user
    // cancels. The window uses the platform's folder browser unless told
    // otherwise.
    using FolderChooser = std::function<std::optional<QString>()>;

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

    // The skin of g_skinIndex: background, skin colour and brush.
    void LoadSkin();
    void PaintBackground(QPainter& painter);
    // Cuts the window to the shape bitmap's outline.
    void ApplyWindowShape();

    // Record and Stop (buttons and hotkey) go to the recording session.
    void StartRecording() override;
    void StopRecording() override;
    void OnExit();

    // Commands of the shell itself.
    void OnMin();
    // The hotkey button's right-click menu: the timed-take settings; OK arms
    // the timed take.
    void OnTimedTake();
    void OnSkin();
    void OnAbout();
    void OnOutputMode(int radioId);
    void OnBrowse();
    void OnHelp();
    void OnCloseButton();
    void OnDriveSelectionChange();
    // Erase (1010): the disc's erasing with its progress window and timer 3.
    void OnErase();
    // Save (1011): the checked tracks of the disc into files, with the save
    // progress window and timer 6.
    void OnSave();
    void SetFolderChooser(FolderChooser chooser) { m_chooseFolder = std::move(chooser); }
    // A disc arrived in or left a drive (any thread may report it).
    void OnDeviceChange(const devchange::DeviceBroadcast& broadcast);

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
    void paintEvent(QPaintEvent* event) override;
    void closeEvent(QCloseEvent* event) override;
    // Every way the window ends (close box, Alt+F4, Close, Exit, Skin, a
    // signal) comes here: a running take is finished first, as Stop
    // finishes it, while the event loop still runs.
    void done(int result) override;

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
    void ApplySkinColours();
    void FillDriveSelector();
    void CreateTooltips();
    void SetReadout(int id, const QString& text);
    void UpdateChoices();
    // Opens the watch of the source lines, or arms its retry; true when open.
    bool OpenSourceWatch();
    // The source lines came or went (or the sound server went away).
    void OnSourceLinesChanged();
    // The source list read again, and the choices that depend on it.
    void RefreshSources();
    void ShowControl(int id, bool shown);
    void EnableControl(int id, bool enabled);
    // Runs a progress window modally while timer `timerId` (whose handler
    // fills and ends it) ticks; returns the window's result.
    int RunProgressWindow(QDialog& progress, int timerId, unsigned periodMs);

    quarnel::DevDeque& m_drives;
    std::map<int, QWidget*> m_controls;

    // The controls, named as the window's members.
    CAdBtn* m_banner = nullptr;
    CBmpBtn* m_btnSkin = nullptr;
    QSlider* m_volume = nullptr;
    CBmpBtn* m_btnExit = nullptr;
    CBmpBtn* m_btnStop = nullptr;
    CBmpBtn* m_btnRecord = nullptr;
    CBmpBtn* m_btnSave = nullptr;
    CBmpBtn* m_btnErase = nullptr;
    CBmpBtn* m_btnBrowse = nullptr;
    CBmpBtn* m_btnAbout = nullptr;
    CBmpBtn* m_btnHelp = nullptr;
    CBmpBtn* m_btnClose = nullptr;
    CBmpBtn* m_btnMin = nullptr;
    QPushButton* m_playBarHost = nullptr;
    QCheckBox* m_closeDisc = nullptr;
    QProgressBar* m_progress = nullptr;
    CListCtrlEx* m_trackList = nullptr;
    QComboBox* m_driveSelector = nullptr;
    QComboBox* m_sourceSelector = nullptr;
    QIcon m_hIcon;

    std::unique_ptr<ComboSourceSelector> m_sourceSelectorView;
    std::unique_ptr<SliderVolume> m_volumeView;
    std::unique_ptr<RecordSources> m_recordSources;

    quarnel::CDevCmdROM* m_pDevice = nullptr;
    disc::TrackAddressTable m_trackAddresses{};
    std::unique_ptr<ListTrackRows> m_trackRows;
    std::unique_ptr<disc::TrackListReader> m_trackReader;
    CDlgAudioPlay* m_playBar = nullptr; // inside m_playBarHost
    disc::DiscEraser m_eraser;
    CDlgEProgress* m_eraseProgress = nullptr; // while an erase runs
    CAuEncode m_saveEncoder;                  // the encoder of saved tracks
    disc::TrackSaver m_saver{m_saveEncoder};
    CDlgProgress1* m_saveProgress = nullptr; // while a save's window is open
    FolderChooser m_chooseFolder;
    WaveDisplay m_waveDisplay;
    std::unique_ptr<engine::RecordSession> m_session;
    std::unique_ptr<TimedTake> m_timedTake; // uses the session
    QMenu* m_hotkeyMenu = nullptr;
    bool m_inTakeCommand = false; // Record or Stop runs on the user-interface thread

    QPixmap m_background;
    QBrush m_skinBrush;
    QFont m_labelFont;
    QFont m_titleFont;
    online::CUpdate m_update;

    std::map<int, int> m_timerIds; // window timer number -> Qt timer id
    std::map<int, std::function<void()>> m_timerHandlers;

    // Dragging without the window manager's help.
    bool m_dragging = false;
    QPoint m_dragOffset;

    mutable std::mutex m_choicesMutex;
    Choices m_choices;

    // The mixer's source lines coming and going; while it cannot be opened
    // (the sound server is away) the retry timer tries again.
    std::unique_ptr<SourceWatch> m_sourceWatch;
    QTimer m_sourceWatchRetry;

    // Last, so that it stops reporting before anything else goes.
    std::unique_ptr<disc::DiscChangeWatch> m_discWatch;
};

} // namespace window
