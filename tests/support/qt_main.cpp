#include <QApplication>
#include <cstdlib>
#include <gtest/gtest.h>

// Tests run headless: one application object on the offscreen platform,
// and the virtual 600-dpi printer whatever printers the machine has.
int main(int argc, char** argv)
{
    ::setenv("QT_QPA_PLATFORM", "offscreen", 0);
    ::setenv("LX_VIRTUAL_PRINTER", "1", 1);
    ::testing::InitGoogleTest(&argc, argv);
    QApplication app(argc, argv);
    return RUN_ALL_TESTS();
}
