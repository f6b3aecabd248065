#include "online/widgets/CAdBtn.h"

#include "lang/LangText.h"
#include "online/BannerLink.h"
#include "platform/shell/Shell.h"
#include "res/ResourceImages.h"

#include <QMetaObject>
#include <QMouseEvent>
#include <QPainter>
#include <QTimerEvent>

#include <algorithm>
#include <cstdio>

namespace {

constexpr unsigned kHandCursor = 133;
// The shortest rotation period: shorter or negative periods would keep the
// GUI thread busy repainting.
constexpr std::int32_t kShortestPeriodMs = 10;

} // namespace

CAdBtn::CAdBtn(QWidget* parent)
    : QAbstractButton(parent), m_mailbox(std::make_shared<Mailbox>()),
      m_tasks(std::make_shared<online::DetachedTasks>()) {
    m_mailbox->receiver = this;
    setCursor(res::LoadCursor(kHandCursor));
}

CAdBtn::~CAdBtn() {
    const std::lock_guard lock(m_mailbox->mutex);
    m_mailbox->receiver = nullptr;
}

void CAdBtn::SetInfoTextColor(const QColor& colour) {
    m_crText = colour;
}

void CAdBtn::StartInfo() {
    StartInfo(online::DefaultOnlineSite(), lang::GetLanguageName());
}

void CAdBtn::StartInfo(const online::OnlineSite& site, const std::string& languageName) {
    m_strText.clear();
    m_strLink.clear();
    m_strIniPath = online::BannerLocalPath(site.workFolder, languageName);
    m_tasks->Run("banner", [url = online::BannerServerUrl(site.serverAddress, languageName),
                            path = m_strIniPath, mailbox = m_mailbox] {
        const online::BannerSettings settings = online::FetchBanner(url, path);
        const std::lock_guard lock(mailbox->mutex);
        if (CAdBtn* receiver = mailbox->receiver) {
            // Queued on the strip: dropped by Qt if the strip goes before it runs.
            QMetaObject::invokeMethod(
                receiver, [receiver, settings] { receiver->OnBannerRead(settings); },
                Qt::QueuedConnection);
        }
    });
}

void CAdBtn::LoadEntry(std::int32_t number) {
    online::BannerEntry entry = online::ReadBannerEntry(m_strIniPath, number);
    m_strText = std::move(entry.text);
    m_strLink = std::move(entry.link);
}

void CAdBtn::OnBannerRead(const online::BannerSettings& settings) {
    m_nTime = settings.timeMs;
    if (!settings.rotating) {
        return;
    }
    m_rotation = online::BannerRotation(settings.count);
    if (m_timerId != 0) {
        killTimer(m_timerId);
    }
    m_timerId = startTimer(std::max(m_nTime, kShortestPeriodMs));
}

void CAdBtn::timerEvent(QTimerEvent* event) {
    if (event->timerId() == m_timerId) {
        LoadEntry(m_rotation.Advance());
        update();
    }
    QAbstractButton::timerEvent(event);
}

void CAdBtn::SaveBackground() {
    // What the parent paints under the strip, taken once: the strip shows it
    // for good, whatever the parent paints there later.
    m_dcBack = QPixmap(size());
    m_dcBack.fill(Qt::transparent);
    if (QWidget* parent = parentWidget()) {
        parent->render(&m_dcBack, QPoint(), QRegion(geometry()), QWidget::DrawWindowBackground);
    }
    m_bBackSaved = true;
}

void CAdBtn::paintEvent(QPaintEvent* /*event*/) {
    if (!m_bBackSaved) {
        SaveBackground();
    }
    QPainter painter(this);
    painter.drawPixmap(0, 0, m_dcBack);
    if (m_strText.empty()) {
        return;
    }
    painter.setPen(m_crText);
    painter.setFont(font());
    painter.drawText(rect(), m_nFormat | Qt::AlignVCenter | Qt::TextSingleLine,
                     QString::fromStdString(m_strText));
}

void CAdBtn::mousePressEvent(QMouseEvent* event) {
    QAbstractButton::mousePressEvent(event);
    if (event->button() == Qt::LeftButton && !m_strLink.empty()) {
        OpenLink();
    }
}

void CAdBtn::OpenLink() const {
    if (!online::IsOpenableBannerLink(m_strLink)) {
        std::fprintf(stderr, "Banner link not opened (not a web or mail address): %s\n",
                     m_strLink.c_str());
        return;
    }
    platform::Shell().Open(m_strLink, "");
}
