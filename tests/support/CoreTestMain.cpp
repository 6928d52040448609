#include "app/QtTranslations.h"

#include <QCoreApplication>

#include <gtest/gtest.h>

// For core tests that need Qt's event loop (local sockets, timers): an application object without any
// window, so that they still run without a display.
int main(int argc, char** argv)
{
    QCoreApplication application(argc, argv);
    QtTranslations::installProgramTexts(UiLanguage::Italian);
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
