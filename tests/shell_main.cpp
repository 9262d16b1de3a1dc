#include "shell/BookScheme.h"

#include <QApplication>

#include <gtest/gtest.h>

int main(int argc, char** argv) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    qputenv("QTWEBENGINE_DISABLE_SANDBOX", "1");
    qputenv("QTWEBENGINE_ENABLE_LINUX_ACCESSIBILITY", "1"); // as the program sets it
    QCoreApplication::setAttribute(Qt::AA_ShareOpenGLContexts);
    tolvaro::RegisterBookScheme();
    QApplication app(argc, argv);
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
