#include <QApplication>
#include <cstdlib>
#include <gtest/gtest.h>

// Tests run headless: one application object on the offscreen platform.
int main(int argc, char** argv)
{
    ::setenv("QT_QPA_PLATFORM", "offscreen", 0);
    ::testing::InitGoogleTest(&argc, argv);
    QApplication app(argc, argv);
    return RUN_ALL_TESTS();
}
