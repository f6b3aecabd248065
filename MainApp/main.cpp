// Sondrel: the sound recorder with its window.
#include "MainApp/CMainAppApp.h"

#include <QApplication>

int main(int argc, char* argv[]) {
    QApplication application(argc, argv);
    CMainAppApp app;
    return app.InitInstance() ? application.exec() : 0;
}
