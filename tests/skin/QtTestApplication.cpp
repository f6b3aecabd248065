#include "tests/skin/QtTestApplication.h"

#include <QApplication>

namespace testsupport {

void EnsureQtApplication() {
    if (QCoreApplication::instance() != nullptr) {
        return;
    }
    qputenv("QT_QPA_PLATFORM", "offscreen");
    static int s_argc = 1;
    static char s_name[] = "sondrel-test";
    static char* s_argv[] = {s_name, nullptr};
    // Lives until the test program ends.
    new QApplication(s_argc, s_argv);
}

} // namespace testsupport
