#include "controls/CDlgAudioPlay.h"

#include <QCloseEvent>
#include <QResizeEvent>

#include <algorithm>

namespace {

struct ButtonSpec {
    int id;
    const char* text;
    std::uint32_t normal;
    std::uint32_t pressed;
    std::uint32_t disabled;
};

constexpr std::array<ButtonSpec, 5> kButtons = {{
    {1021, "Pre", 141, 142, 141},
    {1022, "Play", 139, 140, 139},
    {1023, "Pause", 137, 138, 137},
    {1024, "Stop", 143, 144, 143},
    {1025, "Next", 135, 136, 135},
}};

// The buttons' pictures are this large; a lower bar makes them smaller.
constexpr int kButtonSize = 24;
constexpr int kGap = 2;

} // namespace

CDlgAudioPlay::CDlgAudioPlay(QWidget* parent)
    : SkinnedDialog(parent, Qt::Widget), m_buttons{CBmpBtn(this), CBmpBtn(this), CBmpBtn(this),
                                                   CBmpBtn(this), CBmpBtn(this)},
      m_slider(Qt::Horizontal, this) {
    for (std::size_t i = 0; i < kButtons.size(); ++i) {
        CBmpBtn& button = m_buttons.at(i);
        button.setObjectName(QString::number(kButtons.at(i).id));
        button.setText(QString::fromLatin1(kButtons.at(i).text));
        button.SetBitmaps(kButtons.at(i).normal, kButtons.at(i).pressed, kButtons.at(i).disabled);
    }
    connect(&m_buttons[0], &QAbstractButton::clicked, this,
            [this] { Started(m_player.Previous()); });
    connect(&m_buttons[1], &QAbstractButton::clicked, this,
            [this] { Started(m_player.PlayButton()); });
    connect(&m_buttons[2], &QAbstractButton::clicked, this, [this] { m_player.Pause(); });
    connect(&m_buttons[3], &QAbstractButton::clicked, this, [this] { Stop(); });
    connect(&m_buttons[4], &QAbstractButton::clicked, this, [this] { Started(m_player.Next()); });
    m_slider.setObjectName(QStringLiteral("1026"));
    m_slider.setRange(0, 100);
    if (parent != nullptr) {
        setGeometry(parent->rect());
    }
    connect(&m_slider, &QSlider::sliderReleased, this, [this] { m_player.Seek(m_slider.value()); });
    m_timer.setInterval(kTimerPeriodMs);
    connect(&m_timer, &QTimer::timeout, this, [this] { OnTimer(); });
}

CDlgAudioPlay::~CDlgAudioPlay() {
    Stop();
}

void CDlgAudioPlay::SetDevice(quarnel::CDevCmdROM* device, disc::ITrackRows* rows) {
    m_player.SetDevice(device, rows);
}

void CDlgAudioPlay::Stop() {
    m_player.Stop();
    m_timer.stop();
}

void CDlgAudioPlay::Started(bool started) {
    if (started) {
        m_timer.start();
    }
}

void CDlgAudioPlay::OnTimer() {
    const std::optional<int> position = m_player.Tick();
    if (position) {
        m_slider.setValue(*position);
    } else {
        m_timer.stop();
    }
}

void CDlgAudioPlay::resizeEvent(QResizeEvent* event) {
    // Square buttons as high as the bar allows, the slider in the rest of the
    // width: every control lies whole inside the bar.
    const int side = std::clamp(height() - 2 * kGap, 1, kButtonSize);
    const int top = (height() - side) / 2;
    int left = kGap;
    for (CBmpBtn& button : m_buttons) {
        button.setGeometry(left, top, side, side);
        left += side + kGap;
    }
    m_slider.setGeometry(left, 0, std::max(width() - left - kGap, 0), height());
    SkinnedDialog::resizeEvent(event);
}

void CDlgAudioPlay::closeEvent(QCloseEvent* event) {
    Stop();
    QDialog::closeEvent(event);
}
