#include <QApplication>
#include <gtest/gtest.h>

// Widget tests need one application object for the whole run.
int main(int argc, char** argv)
{
    // The build lists the tests by running this program, where no display is at hand.
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
