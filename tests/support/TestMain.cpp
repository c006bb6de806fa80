#include <QApplication>
#include <gtest/gtest.h>

// Every test executable runs with a QApplication (offscreen, set by CTest), so
// window tests and store tests share one entry point.
int main(int argc, char** argv)
{
    // Headless always, also when the build lists the tests.
    if (!qEnvironmentVariableIsSet("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
