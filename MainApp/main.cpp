// Sondrel: the sound recorder with its window.
#include "MainApp/CMainAppApp.h"
#include "platform/wave/VirtualAudioFallback.h"

#include <QApplication>

int main(int argc, char* argv[]) {
    // Before Qt starts any thread of its own.
    platform::wave::UseVirtualAudioWhereNoneFound();
    QApplication application(argc, argv);
    // Desktops show the window under the menu entry's name and icon.
    QGuiApplication::setDesktopFileName(QStringLiteral("sondrel"));
    CMainAppApp app;
    return app.InitInstance() ? application.exec() : 0;
}
