#include "widgets/FileDialog.h"

#include <QApplication>
#include <QFileDialog>
#include <QTimer>
#include <QWidget>

#include <gtest/gtest.h>

namespace {

// A name given in advance answers one call, open or save, and no more: a later call shows the real
// dialog rather than an answer meant for another.
TEST(FileDialog, ANameGivenInAdvanceAnswersTheNextCallOnly)
{
    QWidget window;
    window.show();
    int shown = 0;
    const auto cancelAnyDialog = [&] {
        QTimer::singleShot(0, [&] {
            if (auto* dialog = qobject_cast<QFileDialog*>(QApplication::activeModalWidget())) {
                ++shown;
                EXPECT_EQ(dialog->parentWidget(), &window);
                dialog->reject();
            }
        });
    };

    FileDialog::setNextFileName(QStringLiteral("/tmp/Canzone.wav"));
    cancelAnyDialog();
    EXPECT_EQ(FileDialog::getOpenFileName(&window, QStringLiteral("*.wav"), QStringLiteral("wav")),
              "/tmp/Canzone.wav");
    // An empty name is the user cancelling.
    FileDialog::setNextFileName(QString());
    EXPECT_EQ(FileDialog::getSaveFileName(&window, QStringLiteral("*.txt"), QStringLiteral("txt")), "");
    FileDialog::setNextFileNames({QStringLiteral("/tmp/A.wav"), QStringLiteral("/tmp/B.wav")});
    EXPECT_EQ(FileDialog::getOpenFileNames(&window, QStringLiteral("*.wav"), QStringLiteral("wav")),
              (QStringList{"/tmp/A.wav", "/tmp/B.wav"}));
    QApplication::processEvents();
    EXPECT_EQ(shown, 0);

    cancelAnyDialog();
    EXPECT_EQ(FileDialog::getSaveFileName(&window, QStringLiteral("*.txt"), QStringLiteral("txt")), "");
    EXPECT_EQ(shown, 1);
}

} // namespace
