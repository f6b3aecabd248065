#include "MainApp/CMainAppApp.h"

#include "MainApp/window/CMainAppDlg.h"
#include "MainApp/window/QtMessageBoxHost.h"
#include "components/quarnel/device/DevDeque.h"
#include "components/quarnel/emudrives/EmulatedDriveProvider.h"
#include "util/Environment.h"
#include "util/MessageBox.h"

#include <QTimer>

#include <charconv>
#include <string>

bool CMainAppApp::InitInstance() {
    // The device list exists before the window and outlives it; emulated
    // writers join it when the machine has none.
    quarnel::RegisterEmulatedDrives();
    quarnel::DevDeque drives;

    // The host stays installed to the end of the process: a worker (the update
    // check runs on threads nobody waits for) may have taken it just before
    // the window went, and then finds it closed and gets Cancel at once.
    static auto* const messageBoxes = new window::QtMessageBoxHost;
    util::SetMessageBoxHost(messageBoxes);
    {
        window::CMainAppDlg dialog(drives);
        messageBoxes->SetOwner(&dialog);
        ArmQuitTimer(dialog);
        dialog.DoModal();
        messageBoxes->Close();
        messageBoxes->SetOwner(nullptr);
    }
    return false;
}

void CMainAppApp::ArmQuitTimer(window::CMainAppDlg& dialog) {
    const std::string value = util::EnvironmentValue(kQuitAfterVariable);
    if (value.empty()) {
        return;
    }
    unsigned quitAfterMs = 0;
    const char* end = value.data() + value.size();
    if (std::from_chars(value.data(), end, quitAfterMs).ptr != end) {
        return;
    }
    QObject::connect(
        &dialog, &window::CMainAppDlg::Shown, &dialog,
        [&dialog, quitAfterMs] {
            QTimer::singleShot(static_cast<int>(quitAfterMs), &dialog,
                               [&dialog] { dialog.close(); });
        },
        Qt::SingleShotConnection);
}
