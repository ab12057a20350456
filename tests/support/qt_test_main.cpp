// Entry point of every test program: a QApplication on the offscreen platform (unless the
// environment names another) around GoogleTest.
#include "tests/support/temp_home.h"

#include <QApplication>

#include <gtest/gtest.h>

int main(int argc, char** argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    // Every test program gets a home of its own: data and settings folders never touch the
    // user's real ones.
    vembra::test::TempHome home;
    QApplication app(argc, argv);
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
