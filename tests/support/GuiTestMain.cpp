#include "app/QtTranslations.h"
#include "widgets/MessageBox.h"

#include <QApplication>
#include <QDialog>
#include <QSettings>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTimer>

#include <gtest/gtest.h>

namespace {

// A failed check inside a callback of a modal window's event loop returns from the callback only: the
// window would stay up and the test would never end. Every modal window is closed after a failure.
class CloseModalsOnFailure : public ::testing::EmptyTestEventListener
{
    void OnTestPartResult(const ::testing::TestPartResult& result) override
    {
        if (!result.failed()) {
            return;
        }
        QTimer::singleShot(0, [] {
            while (QWidget* modal = QApplication::activeModalWidget()) {
                auto* dialog = qobject_cast<QDialog*>(modal);
                if (!dialog) {
                    modal->close();
                    break;
                }
                // done() rather than reject(): a window that refuses to close while busy must close too.
                dialog->done(QDialog::Rejected);
                if (QApplication::activeModalWidget() == modal) {
                    break;
                }
            }
        });
    }
};

} // namespace

// The GUI tests run headless, also when a test runner starts them without the suite's environment (as
// CTest's test discovery does), and never with the user's own settings or data folders. Message boxes are
// recorded, never shown: one would wait for a click that never comes.
int main(int argc, char** argv)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QStandardPaths::setTestModeEnabled(true);
    QApplication application(argc, argv);
    QTemporaryDir settings;
    QSettings::setPath(QSettings::IniFormat, QSettings::UserScope, settings.path());
    QSettings::setPath(QSettings::NativeFormat, QSettings::UserScope, settings.path());
    MessageBox::setRecording(true);
    QtTranslations::installProgramTexts(UiLanguage::Italian);
    ::testing::InitGoogleTest(&argc, argv);
    // GoogleTest takes the listener over and deletes it at the end.
    ::testing::UnitTest::GetInstance()->listeners().Append(new CloseModalsOnFailure);
    return RUN_ALL_TESTS();
}
