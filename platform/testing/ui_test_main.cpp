// The entry point of every window test program: GoogleTest inside a
// QApplication.

#include <gtest/gtest.h>

#include <QApplication>

int main(int argc, char* argv[]) {
    // The windows are never shown on a screen; test discovery runs this
    // program without the test environment, so choose the platform here too.
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) {
        qputenv("QT_QPA_PLATFORM", "offscreen");
    }
    QApplication application(argc, argv);
    QApplication::setApplicationVersion(QStringLiteral("3.0.2"));
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
