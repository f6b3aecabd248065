#pragma once
// The application object: builds the program-wide objects, installs the
// message box host and runs the main window modally; the program ends when
// the window closes.

namespace window {
class CMainAppDlg;
}

class CMainAppApp {
public:
    // Environment: SONDREL_QUIT_AFTER_MS=N closes the main window N ms after
    // it is first shown (smoke runs and measurements).
    static constexpr const char* kQuitAfterVariable = "SONDREL_QUIT_AFTER_MS";

    // Runs the main window; returns false once it has ended, so that no
    // message loop of the application's own follows.
    bool InitInstance();

private:
    static void ArmQuitTimer(window::CMainAppDlg& dialog);
};
