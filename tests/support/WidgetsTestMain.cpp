// The main function of widget tests: GoogleTest inside a QApplication, so
// that widgets can be created, shown, clicked and grabbed. Offscreen unless
// a platform is chosen (test discovery runs the program without the tests'
// environment, and there may be no display).
#include <QApplication>

#include <gtest/gtest.h>

#include <cstdlib>

int main(int argc, char** argv) {
    ::testing::InitGoogleTest(&argc, argv);
    if (std::getenv("QT_QPA_PLATFORM") == nullptr) {
        setenv("QT_QPA_PLATFORM", "offscreen", 1);
    }
    QApplication application(argc, argv);
    return RUN_ALL_TESTS();
}
