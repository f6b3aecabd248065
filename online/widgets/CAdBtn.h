#pragma once
// The info banner: a one-line strip that looks transparent (it paints a copy
// of the background that lay under it) and shows the messages of the banner
// file one after another, each with a link that a press opens.

#include "online/BannerFile.h"
#include "online/BannerRotation.h"
#include "online/DetachedTasks.h"
#include "online/OnlineSite.h"

#include <QAbstractButton>
#include <QColor>
#include <QPixmap>

#include <cstdint>
#include <memory>
#include <mutex>
#include <string>

class CAdBtn : public QAbstractButton {
    Q_OBJECT

public:
    explicit CAdBtn(QWidget* parent = nullptr);
    ~CAdBtn() override;
    CAdBtn(const CAdBtn&) = delete;
    CAdBtn& operator=(const CAdBtn&) = delete;

    // The colour of the text (white until set).
    void SetInfoTextColor(const QColor& colour);

    // Empties the strip and starts the banner thread for the running
    // program's folder, server and language.
    void StartInfo();
    // The same for a given folder, server and language name.
    void StartInfo(const online::OnlineSite& site, const std::string& languageName);

    // Takes message `number`'s text and link from the banner file.
    void LoadEntry(std::int32_t number);

    const std::string& InfoText() const { return m_strText; }
    const std::string& InfoLink() const { return m_strLink; }

protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void timerEvent(QTimerEvent* event) override;

private:
    // Where the banner thread hands its result over: the strip while it
    // lives, nothing once it has gone.
    struct Mailbox {
        std::mutex mutex;
        CAdBtn* receiver = nullptr;
    };

    // On the GUI thread, once the banner thread has read the file.
    void OnBannerRead(const online::BannerSettings& settings);
    void SaveBackground();
    void OpenLink() const;

    QPixmap m_dcBack;
    bool m_bBackSaved = false;
    int m_nFormat = Qt::AlignHCenter;
    QColor m_crText = Qt::white;
    std::string m_strText;
    std::string m_strLink;
    std::string m_strIniPath;
    std::int32_t m_nTime = 0;
    online::BannerRotation m_rotation;
    int m_timerId = 0;
    std::shared_ptr<Mailbox> m_mailbox;
    std::shared_ptr<online::DetachedTasks> m_tasks;
};
