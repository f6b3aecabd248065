#include "MainApp/window/CMainAppDlg.h"

#include "MainApp/hotkey/HotkeyArming.h"
#include "MainApp/setkey/HotkeyButton.h"
#include "MainApp/window/DialogControls.h"
#include "MainApp/window/FontCellHeight.h"
#include "MainApp/window/TipLines.h"
#include "MainApp/window/TooltipTexts.h"
#include "MainApp/window/WholeAreaButton.h"
#include "components/quarnel/emudrives/EmulatedDriveProvider.h"
#include "controls/CBrowseDirDialog.h"
#include "controls/CDlgAbout.h"
#include "controls/CDlgLogo.h"
#include "disc/DiscChangeRule.h"
#include "disc/DriveList.h"
#include "disc/DriveSelection.h"
#include "engine/Capture.h"
#include "engine/RecordingState.h"
#include "engine/session/CutOffTakeRepair.h"
#include "engine/session/PreRecordSetting.h"
#include "lang/LangText.h"
#include "platform/shell/Shell.h"
#include "res/MainDialogTemplate.h"
#include "res/ResourceImages.h"
#include "skin/QtColor.h"
#include "skin/SkinColors.h"
#include "skin/SkinSetting.h"
#include "skin/SkinState.h"
#include "skin/WindowShape.h"
#include "util/Environment.h"
#include "util/ModuleFolder.h"

#include <QApplication>
#include <QCloseEvent>
#include <QCoreApplication>
#include <QFileDialog>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QMouseEvent>
#include <QPaintEvent>
#include <QScopedValueRollback>
#include <QScrollBar>
#include <QShowEvent>
#include <QStyle>
#include <QThread>
#include <QTimer>
#include <QTimerEvent>
#include <QToolTip>
#include <QWindow>

#include <algorithm>
#include <filesystem>
#include <system_error>
#include <utility>

namespace window {
namespace {

constexpr int kTipWidthPx = 400;
constexpr const char* kCompiledHelpType = "application/vnd.ms-htmlhelp";
// How often a watch of the source lines that cannot be opened is tried again.
constexpr int kSourceWatchRetryMs = 1000;

// Ring of the waveform display: 200 capture buffers, read up to 1 GiB.
constexpr std::uint32_t kWaveRingBytes = 7526400;
constexpr std::uint32_t kWaveRingReadLimit = 1073741824;
// Between looks at a take the CD writer is finishing while the window ends.
constexpr unsigned long kFinishPollMs = 10;

QRect PixelRect(int id) {
    const res::DialogRect rect = res::MainDialogControlPixels(id).value_or(res::DialogRect{});
    return {rect.x, rect.y, rect.cx, rect.cy};
}

// A drop-down list's template height includes its open list; closed, it is
// as high as its own field.
void FitDropDownHeight(QComboBox& combo) {
    combo.resize(combo.width(), std::min(combo.height(), combo.sizeHint().height()));
}

QWidget* MakeControl(const DialogControl& control, QWidget* parent) {
    const QString text = QString::fromUtf8(control.text);
    switch (control.kind) {
    case ControlKind::Label:
        return new QLabel(text, parent);
    case ControlKind::DropDownList:
        return new QComboBox(parent);
    case ControlKind::RadioButton: {
        auto* radio = new WholeAreaButton<QRadioButton>(text, parent);
        radio->setChecked((control.state & kChecked) != 0);
        return radio;
    }
    case ControlKind::CheckBox:
        return new WholeAreaButton<QCheckBox>(text, parent);
    case ControlKind::Edit:
        return new QLineEdit(parent);
    case ControlKind::PushButton: {
        auto* button = new QPushButton(text, parent);
        button->setAutoDefault(false);
        return button;
    }
    case ControlKind::BitmapButton: {
        // The caption is not drawn; it names the button for accessibility.
        auto* button = new CBmpBtn(parent);
        button->setText(text);
        return button;
    }
    case ControlKind::ListView:
        return new CListCtrlEx(parent);
    case ControlKind::Slider: {
        auto* slider = new QSlider(Qt::Horizontal, parent);
        slider->setTickPosition(QSlider::NoTicks);
        return slider;
    }
    case ControlKind::Banner:
        return new CAdBtn(parent);
    case ControlKind::ProgressBar: {
        auto* bar = new QProgressBar(parent);
        bar->setTextVisible(false);
        return bar;
    }
    }
    return new QWidget(parent);
}

// The save dialog's filter in the "description|pattern|...||" form, as Qt
// name filters.
QStringList NameFilters(const QString& filter) {
    const QStringList parts = filter.split(QLatin1Char('|'), Qt::SkipEmptyParts);
    QStringList filters;
    for (qsizetype i = 0; i + 1 < parts.size(); i += 2) {
        const QString pattern = QLatin1Char('(') + parts[i + 1] + QLatin1Char(')');
        filters << (parts[i].contains(pattern) ? parts[i] : parts[i] + QLatin1Char(' ') + pattern);
    }
    return filters;
}

} // namespace

CMainAppDlg::CMainAppDlg(quarnel::DevDeque& drives, QWidget* parent)
    : QDialog(parent, Qt::Window | Qt::FramelessWindowHint), m_drives(drives),
      m_hIcon(res::LoadIcon(128)) {
    g_fileType.store(kFileTypeNone, std::memory_order_relaxed);
    setFixedSize(res::kMainWindowWidthPx, res::kMainWindowHeightPx);
    setFont(QFont(QStringLiteral("Arial Black"), 7));
    g_skinIndex = skin::ReadSkinIndexForStartup();
    CreateControls();
    LoadSkin();
    ConnectCommands();
    qApp->installEventFilter(this);
    m_discWatch = std::make_unique<disc::DiscChangeWatch>(
        m_drives, &quarnel::RegisterEmulatedDrives(),
        [this](const devchange::DeviceBroadcast& broadcast) {
            QMetaObject::invokeMethod(
                this, [this, broadcast] { OnDeviceChange(broadcast); }, Qt::QueuedConnection);
        });
}

CMainAppDlg::~CMainAppDlg() {
    // The session goes first: it uses this window as its view, and its
    // threads must be gone before the members they reach.
    m_session.reset();
    qApp->removeEventFilter(this);
    // The window ended without Exit: capture still runs into the display,
    // which goes with the window.
    if (g_hWaveIn != nullptr) {
        CloseCapture();
    }
}

void CMainAppDlg::CreateControls() {
    for (const DialogControl& control : g_dialog102Controls) {
        QWidget* widget = MakeControl(control, this);
        widget->setObjectName(QStringLiteral("control%1").arg(control.id));
        widget->setGeometry(PixelRect(control.id));
        widget->setEnabled((control.state & kDisabled) == 0);
        widget->setVisible((control.state & kHidden) == 0);
        m_controls[control.id] = widget;
        if (auto* combo = qobject_cast<QComboBox*>(widget)) {
            FitDropDownHeight(*combo);
        }
    }
    const auto button = [this](int id) { return qobject_cast<CBmpBtn*>(GetDlgItem(id)); };
    m_banner = qobject_cast<CAdBtn*>(GetDlgItem(1057));
    m_btnSkin = button(1044);
    m_volume = qobject_cast<QSlider*>(GetDlgItem(1026));
    m_btnExit = button(1014);
    m_btnStop = button(1013);
    m_btnRecord = button(1012);
    m_btnSave = button(1011);
    m_btnErase = button(1010);
    m_btnBrowse = button(1006);
    m_btnAbout = button(1033);
    m_btnHelp = button(1034);
    m_btnClose = button(1036);
    m_btnMin = button(1035);
    m_playBarHost = qobject_cast<QPushButton*>(GetDlgItem(1027));
    m_closeDisc = qobject_cast<QCheckBox*>(GetDlgItem(1015));
    m_progress = qobject_cast<QProgressBar*>(GetDlgItem(1016));
    m_trackList = qobject_cast<CListCtrlEx*>(GetDlgItem(1009));
    m_driveSelector = qobject_cast<QComboBox*>(GetDlgItem(1008));
    m_sourceSelector = qobject_cast<QComboBox*>(GetDlgItem(1002));

    m_sourceSelectorView = std::make_unique<ComboSourceSelector>(*m_sourceSelector);
    m_volumeView = std::make_unique<SliderVolume>(*m_volume);
    m_recordSources = std::make_unique<RecordSources>(*m_sourceSelectorView, *m_volumeView);
    m_sourceWatch = std::make_unique<SourceWatch>([this] {
        QMetaObject::invokeMethod(
            this, [this] { OnSourceLinesChanged(); }, Qt::QueuedConnection);
    });
    m_sourceWatchRetry.setInterval(kSourceWatchRetryMs);
    connect(&m_sourceWatchRetry, &QTimer::timeout, this, [this] {
        if (OpenSourceWatch()) {
            RefreshSources();
        }
    });
    m_trackRows = std::make_unique<ListTrackRows>(*m_trackList);
    m_trackReader = std::make_unique<disc::TrackListReader>(*m_trackRows, m_trackAddresses);
    m_session = std::make_unique<engine::RecordSession>(*this);
    m_session->SetPreRecordSeconds(engine::PreRecordSecondsSetting());
    SetTimerHandler(kTimerRecord, [this] {
        if (m_session) {
            m_session->OnRecordTimer();
        }
    });
    SetTimerHandler(kTimerErase, [this] {
        const disc::EraseTick tick = m_eraser.Tick(m_eraseProgress->GetPos());
        m_eraseProgress->SetPos(tick.position);
        if (tick.finished) {
            m_eraseProgress->accept();
        }
    });
    SetTimerHandler(kTimerSave, [this] {
        const disc::SaveProgress progress = m_saver.Tick();
        if (progress.finished) {
            m_saveProgress->accept();
            KillTimer(kTimerSave);
            return;
        }
        m_saveProgress->SetPos(progress.percent, 0);
        m_saveProgress->SetItemText(QString::fromStdString(progress.currentPath));
    });
    m_chooseFolder = [] {
        CBrowseDirDialog browser(false, QString());
        return browser.Browse() ? std::optional<QString>(browser.m_strPath) : std::nullopt;
    };
}

void CMainAppDlg::ConnectCommands() {
    connect(m_sourceSelector, &QComboBox::activated, this,
            [this] { m_recordSources->ApplyRecordSource(); });
    connect(m_volume, &QSlider::sliderReleased, this,
            [this] { m_recordSources->OnVolumeReleased(); });
    // A click on the track, a key or the wheel moves the slider without a
    // drag: the level follows at once. A drag writes when it is let go.
    connect(m_volume, &QSlider::valueChanged, this, [this] {
        if (!m_volume->isSliderDown()) {
            m_recordSources->OnVolumeReleased();
        }
    });
    connect(qobject_cast<QRadioButton*>(GetDlgItem(1003)), &QRadioButton::clicked, this,
            [this] { OnOutputMode(1003); });
    connect(qobject_cast<QRadioButton*>(GetDlgItem(1004)), &QRadioButton::clicked, this,
            [this] { OnOutputMode(1004); });
    connect(m_btnBrowse, &QPushButton::clicked, this, &CMainAppDlg::OnBrowse);
    connect(m_driveSelector, &QComboBox::activated, this, &CMainAppDlg::OnDriveSelectionChange);
    connect(m_btnRecord, &QAbstractButton::clicked, this, &CMainAppDlg::StartRecording);
    connect(m_btnStop, &QAbstractButton::clicked, this, &CMainAppDlg::StopRecording);
    connect(m_btnExit, &QAbstractButton::clicked, this, &CMainAppDlg::OnExit);
    connect(m_btnErase, &QAbstractButton::clicked, this, &CMainAppDlg::OnErase);
    connect(m_btnSave, &QAbstractButton::clicked, this, &CMainAppDlg::OnSave);
    connect(m_btnMin, &QAbstractButton::clicked, this, &CMainAppDlg::OnMin);
    connect(m_btnSkin, &QPushButton::clicked, this, &CMainAppDlg::OnSkin);
    connect(m_btnAbout, &QPushButton::clicked, this, &CMainAppDlg::OnAbout);
    connect(m_btnHelp, &QPushButton::clicked, this, &CMainAppDlg::OnHelp);
    connect(m_btnClose, &QPushButton::clicked, this, &CMainAppDlg::OnCloseButton);

    // The choices a session reads follow the controls.
    connect(qobject_cast<QRadioButton*>(GetDlgItem(1003)), &QRadioButton::toggled, this,
            &CMainAppDlg::UpdateChoices);
    connect(m_closeDisc, &QCheckBox::toggled, this, &CMainAppDlg::UpdateChoices);
    connect(qobject_cast<QLineEdit*>(GetDlgItem(1005)), &QLineEdit::textChanged, this,
            &CMainAppDlg::UpdateChoices);
}

QWidget* CMainAppDlg::GetDlgItem(int id) const {
    const auto found = m_controls.find(id);
    return found == m_controls.end() ? nullptr : found->second;
}

int CMainAppDlg::DoModal() {
    OnInitDialog();
    return exec();
}

bool CMainAppDlg::OnInitDialog() {
    m_update.Start("sondrel");
    CreateFonts();
    SetLabelTexts();
    m_banner->setFont(m_labelFont);
    m_banner->SetInfoTextColor(skin::ToQColor(skin::BannerTextColor(g_skinIndex)));
    m_banner->StartInfo();
    const bool chinese = lang::GetLanguageName() == "chs";
    if (chinese) {
        qobject_cast<QLabel*>(GetDlgItem(1058))->setText(QStringLiteral("桑卓录音机"));
    }
    ShowControl(1058, chinese);
    setWindowIcon(m_hIcon);
    if (util::EnvironmentValue(kNoSplashVariable).empty()) {
        CDlgLogo logo(this);
        logo.exec();
    }

    QFont selectorFont(QStringLiteral("Arial Black"));
    SetCellHeight(selectorFont, 16);
    m_sourceSelector->setFont(selectorFont);
    FitDropDownHeight(*m_sourceSelector);

    g_notRecording.store(true, std::memory_order_release);
    m_waveDisplay.InitWave(GetDlgItem(1038), 2048);
    m_recordSources->EnumRecordSources();
    m_recordSources->ApplyRecordSource();
    g_waveRing.Init(kWaveRingBytes, kWaveRingReadLimit);
    OpenCapture(m_recordSources->SourceCount() > 0, m_waveDisplay);
    // Our capture stream exists only now: the chosen source is applied to it
    // (on a sound server the stream is moved to it).
    m_recordSources->ApplyRecordSource();
    OpenSourceWatch();

    qobject_cast<QRadioButton*>(GetDlgItem(1003))->setChecked(false);
    qobject_cast<QRadioButton*>(GetDlgItem(1004))->setChecked(true);
    SetupTrackList();
    ApplySkinColours();
    m_playBar = new CDlgAudioPlay(m_playBarHost);
    // A dialog with a parent is still a window of its own in Qt; the bar is
    // a child inside its placeholder.
    m_playBar->setWindowFlags(Qt::Widget);
    m_playBar->setGeometry(m_playBarHost->rect());
    m_playBar->show();
    FillDriveSelector();
    OnDriveSelectionChange();

    m_btnBrowse->SetBitmaps(152, 152, 152);
    m_btnErase->SetBitmaps(153, 154, 170);
    m_btnSave->SetBitmaps(155, 156, 173);
    m_btnRecord->SetBitmaps(157, 158, 157);
    m_btnStop->SetBitmaps(167, 168, 167);
    m_btnExit->SetBitmaps(161, 162, 171);
    EnableControl(1013, false);
    setWindowTitle(QStringLiteral("Sondrel"));
    CreateTooltips();
    ApplyWindowShape();
    UpdateChoices();

    if (util::GetModuleFolder().empty()) {
        return false;
    }
    hotkey::ArmHotkeys(this, [this](std::function<void()> work) { PostToUi(std::move(work)); });
    setWindowFlag(Qt::WindowSystemMenuHint);
    setWindowFlag(Qt::WindowMinimizeButtonHint);
    // Asked once the window runs, not inside its set-up.
    PostToUi([] { engine::OfferCutOffTakeRepair(); });
    return true;
}

void CMainAppDlg::CreateFonts() {
    m_labelFont = QFont(QString::fromStdString(lang::GetLanguageFont()));
    SetCellHeight(m_labelFont, 12);
    m_labelFont.setWeight(QFont::Normal);
    for (const int id : {1047, 1003, 1004, 1015, 1039, 1040, 1041, 1017, 1031, 1032}) {
        GetDlgItem(id)->setFont(m_labelFont);
    }
    m_titleFont = m_labelFont;
    SetCellHeight(m_titleFont, 15);
    m_titleFont.setWeight(QFont::Black);
    GetDlgItem(1058)->setFont(m_titleFont);
}

void CMainAppDlg::SetLabelTexts() {
    constexpr int kLabelIds[] = {1047, 1003, 1004, 1015, 1039, 1040, 1041, 1017, 1031, 1032};
    int key = 1;
    for (const int id : kLabelIds) {
        const QString text = QString::fromStdString(lang::GetLangString("UIText", key++));
        if (auto* label = qobject_cast<QLabel*>(GetDlgItem(id))) {
            label->setText(text);
        } else if (auto* button = qobject_cast<QAbstractButton*>(GetDlgItem(id))) {
            button->setText(text);
        }
    }
}

void CMainAppDlg::SetupTrackList() {
    m_trackList->SetSmallImages({res::LoadIcon(129).pixmap(16, 16)});
    m_trackList->SetShowSelectionAlways(true);
    while (m_trackList->GetColumnCount() > 0) {
        m_trackList->DeleteColumn(0);
    }
    // The last two columns carry each track's first and last sector, unseen.
    const std::pair<const char*, int> columns[] = {
        {"TRACK INDEX", 80}, {"TITLE", 100}, {"TIMES", 90}, {"START POS", 0}, {"END POS", 0}};
    // The list is a report without headings, and its columns share the width
    // inside the frame and beside the vertical scroll bar in the proportions
    // above: nothing lies beyond the right edge, so a click on a cell never
    // scrolls the check boxes out of sight.
    m_trackList->setHeaderHidden(true);
    m_trackList->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    m_trackList->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    const int insidePx = m_trackList->contentsRect().width() -
                         m_trackList->style()->pixelMetric(QStyle::PM_ScrollBarExtent, nullptr,
                                                           m_trackList->verticalScrollBar());
    int totalPx = 0;
    for (const auto& column : columns) {
        totalPx += column.second;
    }
    int column = 0;
    int leftPx = insidePx;
    for (const auto& [heading, widthPx] : columns) {
        const int fittedPx = std::min(leftPx, widthPx * insidePx / totalPx);
        leftPx -= fittedPx;
        m_trackList->InsertColumn(column++, QString::fromLatin1(heading), Qt::AlignLeft, fittedPx);
    }
    m_trackList->EnableFullRowSelect(true);
}

void CMainAppDlg::ApplySkinColours() {
    const auto setText = [this](int id, QColor colour) {
        QWidget* control = GetDlgItem(id);
        QPalette palette = control->palette();
        palette.setColor(QPalette::WindowText, colour);
        palette.setColor(QPalette::ButtonText, colour);
        control->setPalette(palette);
    };
    for (const int id : {1003, 1004, 1015, 1032, 1039, 1040, 1041, 1047, 1058}) {
        setText(id, skin::ToQColor(skin::LabelTextColor(g_skinIndex)));
    }
    if (const auto readout = skin::ReadoutTextColor(g_skinIndex)) {
        setText(1017, skin::ToQColor(*readout));
        setText(1031, skin::ToQColor(*readout));
    }
    QPalette slider = m_volume->palette();
    slider.setBrush(QPalette::Window, m_skinBrush);
    m_volume->setPalette(slider);
    m_volume->setAutoFillBackground(true);
    QPalette bar = m_progress->palette();
    bar.setColor(QPalette::Highlight, skin::ToQColor(skin::kProgressBarColor));
    m_progress->setPalette(bar);
    if (const auto list = skin::TrackListColors(g_skinIndex)) {
        m_trackList->SetBkColor(skin::ToQColor(list->background));
        m_trackList->SetTextColor(skin::ToQColor(list->text));
    }
}

void CMainAppDlg::LoadSkin() {
    if (const auto entry = skin::FindSkin(g_skinIndex)) {
        m_background = res::LoadBitmap(entry->background);
        const std::pair<CBmpBtn*, unsigned> pictures[] = {{m_btnSkin, entry->skinButton},
                                                          {m_btnMin, entry->minButton},
                                                          {m_btnClose, entry->closeButton},
                                                          {m_btnHelp, entry->helpButton},
                                                          {m_btnAbout, entry->aboutButton}};
        for (const auto& [button, picture] : pictures) {
            button->SetBitmaps(picture, picture, picture);
        }
        g_skinColor = entry->colour;
    }
    m_skinBrush = QBrush(skin::ToQColor(g_skinColor));
    update();
}

void CMainAppDlg::PaintBackground(QPainter& painter) {
    painter.drawPixmap(0, 0, m_background);
}

void CMainAppDlg::ApplyWindowShape() {
    setMask(skin::LoadWindowShape(width(), height()));
}

void CMainAppDlg::paintEvent(QPaintEvent* event) {
    QPainter painter(this);
    if (isMinimized()) {
        const int iconSize = style()->pixelMetric(QStyle::PM_LargeIconSize);
        m_hIcon.paint(&painter, (width() - iconSize + 1) / 2, (height() - iconSize + 1) / 2,
                      iconSize, iconSize);
        return;
    }
    PaintBackground(painter);
    QDialog::paintEvent(event);
}

void CMainAppDlg::StartRecording() {
    const QScopedValueRollback inCommand(m_inTakeCommand, true);
    m_session->StartRecording();
}

void CMainAppDlg::StopRecording() {
    const QScopedValueRollback inCommand(m_inTakeCommand, true);
    m_session->StopRecording();
}

void CMainAppDlg::OnExit() {
    m_session->OnExit();
}

void CMainAppDlg::OnMin() {
    OnHotkeyButton(this, g_skinIndex, g_skinColor, this,
                   [this](std::function<void()> work) { PostToUi(std::move(work)); });
}

void CMainAppDlg::closeEvent(QCloseEvent* event) {
    hotkey::DisarmHotkeys();
    QDialog::closeEvent(event);
}

void CMainAppDlg::done(int result) {
    // Inside Record or Stop (a message box of theirs runs an event loop) the
    // take is finished by that call once the box is answered.
    if (m_session && !m_inTakeCommand) {
        m_session->StopRecording();
        // A take the CD writer is finishing itself (disc full, failed
        // writes) is waited out with the event loop running, so that its
        // read-outs and its message still arrive.
        while (m_session->IsRecording()) {
            QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
            QThread::msleep(kFinishPollMs);
        }
    }
    QDialog::done(result);
}

void CMainAppDlg::OnSkin() {
    g_skinIndex = skin::NextSkinIndex(g_skinIndex);
    skin::SkinIndexSetting(g_skinIndex);
    reject();
    // The new instance reads the new index; a failed start is not reported.
    const std::string folder = util::ExecutableFolder();
    platform::Shell().Start(folder + "Sondrel", {}, folder);
}

void CMainAppDlg::OnAbout() {
    CDlgAbout about(this);
    about.exec();
}

void CMainAppDlg::FillDriveSelector() {
    m_driveSelector->clear();
    for (const disc::DriveEntry& entry : disc::ListDrives(m_drives)) {
        m_driveSelector->addItem(QString::fromStdString(entry.text));
    }
    m_driveSelector->setCurrentIndex(m_driveSelector->count() > 0 ? 0 : -1);
}

void CMainAppDlg::OnDriveSelectionChange() {
    disc::SelectDrive(m_drives, m_driveSelector->currentText().toStdString(), *m_trackReader,
                      *m_trackRows, m_playBar->Player());
    m_pDevice = m_trackReader->CurrentDevice();
    UpdateChoices();
}

void CMainAppDlg::OnErase() {
    if (!m_eraser.Begin(m_pDevice)) {
        return;
    }
    CDlgEProgress progress(this);
    progress.SetRange(0, 100);
    m_eraseProgress = &progress;
    RunProgressWindow(progress, kTimerErase, 1000);
    m_eraseProgress = nullptr;
}

void CMainAppDlg::OnSave() {
    if (m_trackRows->RowCount() == 0) {
        return;
    }
    const std::optional<disc::SaveFormat> format = disc::AskSaveFormat();
    if (!format) {
        return;
    }
    const std::optional<QString> folder = m_chooseFolder();
    if (!folder) {
        return;
    }
    // The saver adds the trailing '/' and reads the rows' check marks now,
    // on this thread.
    if (!m_saver.Start(m_pDevice, *m_trackRows, m_trackAddresses, folder->toStdString(), *format)) {
        return;
    }
    CDlgProgress1 progress(this);
    progress.SetCaption(QStringLiteral("Saving..."));
    progress.SetBars(true, false);
    m_saveProgress = &progress;
    if (RunProgressWindow(progress, kTimerSave, 100) == QDialog::Rejected) {
        m_saver.Cancel();
    }
    m_saveProgress = nullptr;
}

int CMainAppDlg::RunProgressWindow(QDialog& progress, int timerId, unsigned periodMs) {
    SetTimer(timerId, periodMs);
    const int result = progress.exec();
    KillTimer(timerId);
    return result;
}

void CMainAppDlg::OnDeviceChange(const devchange::DeviceBroadcast& broadcast) {
    const bool toCd = qobject_cast<QRadioButton*>(GetDlgItem(1004))->isChecked();
    const bool recording = !g_notRecording.load(std::memory_order_acquire);
    switch (disc::OnDeviceChange(broadcast, toCd, recording, m_pDevice)) {
    case disc::DiscChangeAction::ReadDisc:
        OnDriveSelectionChange();
        break;
    case disc::DiscChangeAction::ReadDiscAfterWait:
        // The arrived disc settles for a while; the window stays responsive.
        QTimer::singleShot(disc::kArrivalWaitMs, this, &CMainAppDlg::OnDriveSelectionChange);
        break;
    case disc::DiscChangeAction::Ignore:
        break;
    }
}

void CMainAppDlg::CreateTooltips() {
    // Tips are at most 400 pixels wide, frame and margins included.
    const int textWidthPx =
        kTipWidthPx - 2 * (1 + 2 * style()->pixelMetric(QStyle::PM_ToolTipLabelFrameWidth));
    const QFontMetrics metrics(QToolTip::font());
    for (const auto& [id, tip] : MainWindowTips()) {
        // Qt breaks tooltip lines at '\n' only; the carriage returns of the
        // joined texts are dropped for display.
        const QString text = QString::fromStdString(tip).remove(QLatin1Char('\r'));
        GetDlgItem(id)->setToolTip(BreakIntoLines(text, metrics, textWidthPx));
    }
}

void CMainAppDlg::ShowControl(int id, bool shown) {
    GetDlgItem(id)->setVisible(shown);
}

void CMainAppDlg::EnableControl(int id, bool enabled) {
    GetDlgItem(id)->setEnabled(enabled);
}

void CMainAppDlg::OnOutputMode(int radioId) {
    if (!qobject_cast<QRadioButton*>(GetDlgItem(radioId))->isChecked()) {
        return;
    }
    const bool toFile = radioId == 1003;
    EnableControl(1005, toFile);
    EnableControl(1006, toFile);
    EnableControl(1008, !toFile);
    EnableControl(1010, !toFile);
    EnableControl(1011, !toFile);
    ShowControl(1015, !toFile);
}

void CMainAppDlg::OnBrowse() {
    QFileDialog dialog(this);
    dialog.setOption(QFileDialog::DontUseNativeDialog);
    dialog.setAcceptMode(QFileDialog::AcceptSave);
    dialog.setFileMode(QFileDialog::AnyFile);
    dialog.setDefaultSuffix(QStringLiteral("mp3"));
    dialog.setNameFilters(
        NameFilters(QStringLiteral("mp3 Files(*.mp3)|*.mp3|wave Files(*.wav)|*.wav||")));
    dialog.selectFile(QStringLiteral("RecordFile"));
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) {
        return;
    }
    const QString path = dialog.selectedFiles().constFirst();
    // A recording later appends to a fresh file; a failed delete is not reported.
    std::error_code ignored;
    std::filesystem::remove(path.toStdString(), ignored);
    qobject_cast<QLineEdit*>(GetDlgItem(1005))->setText(path);
}

void CMainAppDlg::OnHelp() {
    const std::string helpFolder = lang::GetAppDir() + "lang";
    const std::string help = helpFolder + "/Sondrel-" + lang::GetLanguageName();
    // A desktop without a program for compiled help (a fresh one has none)
    // gets the same pages as HTML in its browser. A missing file or handler is
    // not reported.
    const bool compiledHelpReader = platform::Shell().HasDefaultHandler(kCompiledHelpType);
    platform::Shell().Open(compiledHelpReader ? help + ".chm" : help + "/index.html", helpFolder);
}

void CMainAppDlg::OnCloseButton() {
    reject();
}

bool CMainAppDlg::OpenSourceWatch() {
    if (m_sourceWatch->Open()) {
        m_sourceWatchRetry.stop();
        return true;
    }
    m_sourceWatchRetry.start();
    return false;
}

void CMainAppDlg::OnSourceLinesChanged() {
    // Opened again: a watch whose sound server went away hears nothing more.
    OpenSourceWatch();
    RefreshSources();
}

void CMainAppDlg::RefreshSources() {
    m_recordSources->OnSourcesChanged();
    UpdateChoices();
}

void CMainAppDlg::UpdateChoices() {
    const std::lock_guard lock(m_choicesMutex);
    m_choices.toFile = qobject_cast<QRadioButton*>(GetDlgItem(1003))->isChecked();
    m_choices.closeDisc = m_closeDisc->isChecked();
    m_choices.outputPath = qobject_cast<QLineEdit*>(GetDlgItem(1005))->text().toStdString();
    m_choices.sourceCount = m_sourceSelector->count();
    m_choices.device = m_pDevice;
}

bool CMainAppDlg::IsToFileChecked() {
    const std::lock_guard lock(m_choicesMutex);
    return m_choices.toFile;
}

std::string CMainAppDlg::OutputPathText() {
    const std::lock_guard lock(m_choicesMutex);
    return m_choices.outputPath;
}

bool CMainAppDlg::IsCloseDiscChecked() {
    const std::lock_guard lock(m_choicesMutex);
    return m_choices.closeDisc;
}

int CMainAppDlg::RecordSourceCount() {
    const std::lock_guard lock(m_choicesMutex);
    return m_choices.sourceCount;
}

quarnel::CDevCmdROM* CMainAppDlg::CurrentDevice() {
    const std::lock_guard lock(m_choicesMutex);
    return m_choices.device;
}

void CMainAppDlg::PostToUi(std::function<void()> work) {
    if (QThread::currentThread() == thread()) {
        work();
        return;
    }
    QMetaObject::invokeMethod(this, std::move(work), Qt::QueuedConnection);
}

void CMainAppDlg::SetReadout(int id, const QString& text) {
    auto* label = qobject_cast<QLabel*>(GetDlgItem(id));
    label->setText(text);
    // Hidden and shown again, so that the skin behind the text is redrawn.
    label->hide();
    label->show();
}

void CMainAppDlg::ShowTime(const std::string& text) {
    PostToUi([this, text] { SetReadout(1017, QString::fromStdString(text)); });
}

void CMainAppDlg::ShowLength(const std::string& text) {
    PostToUi([this, text] { SetReadout(1031, QString::fromStdString(text)); });
}

void CMainAppDlg::SetCapacityRange(int low, int high) {
    PostToUi([this, low, high] { m_progress->setRange(low, high); });
}

void CMainAppDlg::SetCapacityPos(int pos) {
    PostToUi([this, pos] { m_progress->setValue(pos); });
}

void CMainAppDlg::SetControlsRecording(bool recording) {
    PostToUi([this, recording] {
        const bool idle = !recording;
        EnableControl(1012, idle);
        ShowControl(1012, idle);
        EnableControl(1013, recording);
        ShowControl(1013, recording);
        for (const int id : {1014, 1010, 1011, 1002, 1006, 1036}) {
            EnableControl(id, idle);
        }
        for (const int id : {1027, 1044, 1033, 1034, 1035, 1036}) {
            ShowControl(id, idle);
        }
    });
}

void CMainAppDlg::StartRecordTimer(unsigned periodMs) {
    PostToUi([this, periodMs] { SetTimer(kTimerRecord, periodMs); });
}

void CMainAppDlg::KillRecordTimer() {
    PostToUi([this] { KillTimer(kTimerRecord); });
}

void CMainAppDlg::StopPlayback() {
    PostToUi([this] { m_playBar->Stop(); });
}

void CMainAppDlg::EndMainDialog() {
    PostToUi([this] { reject(); });
}

void CMainAppDlg::SetTimer(int id, unsigned periodMs) {
    KillTimer(id);
    m_timerIds[id] = startTimer(static_cast<int>(periodMs));
}

void CMainAppDlg::KillTimer(int id) {
    const auto found = m_timerIds.find(id);
    if (found != m_timerIds.end()) {
        killTimer(found->second);
        m_timerIds.erase(found);
    }
}

void CMainAppDlg::SetTimerHandler(int id, std::function<void()> handler) {
    m_timerHandlers[id] = std::move(handler);
}

void CMainAppDlg::timerEvent(QTimerEvent* event) {
    for (const auto& [number, qtId] : m_timerIds) {
        if (qtId == event->timerId()) {
            const auto handler = m_timerHandlers.find(number);
            if (handler != m_timerHandlers.end() && handler->second) {
                handler->second();
            }
            return;
        }
    }
    QDialog::timerEvent(event);
}

bool CMainAppDlg::eventFilter(QObject* watched, QEvent* event) {
    // Enter and Escape never reach a control of this window, so neither ends
    // the dialog nor presses a button.
    if (event->type() == QEvent::KeyPress) {
        const int key = static_cast<QKeyEvent*>(event)->key();
        const auto* widget = qobject_cast<QWidget*>(watched);
        if ((key == Qt::Key_Return || key == Qt::Key_Enter || key == Qt::Key_Escape) &&
            widget != nullptr && widget->window() == this) {
            return true;
        }
    }
    return QDialog::eventFilter(watched, event);
}

void CMainAppDlg::mousePressEvent(QMouseEvent* event) {
    if (event->button() == Qt::LeftButton) {
        // The window manager moves the window when it can; without one
        // (offscreen, a bare X server) the window follows the mouse itself.
        QWindow* handle = windowHandle();
        m_dragging = handle == nullptr || !handle->startSystemMove();
        m_dragOffset = event->globalPosition().toPoint() - pos();
    }
    QDialog::mousePressEvent(event);
}

void CMainAppDlg::mouseMoveEvent(QMouseEvent* event) {
    if (m_dragging && (event->buttons() & Qt::LeftButton) != 0) {
        move(event->globalPosition().toPoint() - m_dragOffset);
    }
    QDialog::mouseMoveEvent(event);
}

void CMainAppDlg::mouseReleaseEvent(QMouseEvent* event) {
    if (event->button() == Qt::LeftButton) {
        m_dragging = false;
    }
    QDialog::mouseReleaseEvent(event);
}

void CMainAppDlg::showEvent(QShowEvent* event) {
    QDialog::showEvent(event);
    m_trackList->MarkHeaderColumn(0);
    emit Shown();
}

} // namespace window
