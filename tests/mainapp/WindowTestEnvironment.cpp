#include "tests/mainapp/WindowTestEnvironment.h"

#include "components/quarnel/emudrives/EmulatedDriveProvider.h"

#include <QApplication>

#include <cstdlib>

namespace windowtest {
namespace {

int g_argc = 1;
char g_programName[] = "mainapp_test";
char* g_argv[] = {g_programName, nullptr};

} // namespace

WindowTestEnvironment& WindowTestEnvironment::Get() {
    static WindowTestEnvironment s_environment;
    return s_environment;
}

WindowTestEnvironment::WindowTestEnvironment() {
    // Before any library reads them: the tone input, a virtual mixer and
    // emulated drives that live only as long as this process.
    setenv("SONDREL_AUDIO_INPUT", "tone", 1);
    setenv("SONDREL_MIXER_STATE", m_folder.File("mixer-state").c_str(), 1);
    setenv("SONDREL_DRIVES", m_folder.File("drives").c_str(), 1);
    setenv("SONDREL_REGISTRY", m_folder.File("registry.ini").c_str(), 1);
    setenv("SONDREL_NO_SPLASH", "1", 1);
    // Kept to the end of the process and never destroyed: at exit Qt's own
    // statics may already be gone.
    static QApplication* const s_application = new QApplication(g_argc, g_argv);
    (void)s_application;
    quarnel::RegisterEmulatedDrives();
    m_drives = std::make_unique<quarnel::DevDeque>();
}

} // namespace windowtest
