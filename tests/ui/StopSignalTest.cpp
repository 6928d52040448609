#include "BlockCommits.h"
#include "PlayerDialogFixture.h"
#include "WavBuilder.h"

#include "ui/CProgressDlg.h"
#include "ui/StopSignal.h"
#include "widgets/FileDialog.h"
#include "widgets/MessageBox.h"

#include <QTemporaryDir>
#include <QTimer>

#include <csignal>

// SIGTERM sent to the program: it ends as its user would end it, whatever it was doing.
namespace {

class StopSignalTest : public PlayerDialog
{
protected:
    void SetUp() override
    {
        PlayerDialog::SetUp();
        QObject::connect(&stop, &StopSignal::received, [this] { ui.stop(); });
    }

    // Raises SIGTERM once when condition first holds, looked at every few milliseconds.
    static void terminateWhen(const std::function<bool()>& condition)
    {
        auto* timer = new QTimer;
        QObject::connect(timer, &QTimer::timeout, [timer, condition] {
            if (condition()) {
                timer->deleteLater();
                std::raise(SIGTERM);
            }
        });
        timer->start(2);
    }

    StopSignal stop;
};

TEST_F(StopSignalTest, IdleTheMainWindowClosesAsItsCloseBoxWouldClose)
{
    runMainWindow([&](CPlayerDlg& dialog) {
        std::raise(SIGTERM);
        EXPECT_TRUE(StopSignal::requested());
        EXPECT_TRUE(waitFor([&] { return !dialog.isVisible(); }));
    });
    EXPECT_EQ(app.m_pMainWnd, nullptr);
}

TEST_F(StopSignalTest, ADownloadStopsAfterTheBlockUnderWayWithItsSlotClosedAndTheWindowCloses)
{
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("lungo.wav"));
    constexpr std::size_t kBlocks = 400;
    ASSERT_TRUE(WavBuilder::deviceFormat().data(WavBuilder::samples(64 * kBlocks)).writeTo(path));
    player->setAckDelay(std::chrono::milliseconds(2));
    player->setConfig(0, 0x10, 60);
    runMainWindow([&](CPlayerDlg& dialog) {
        choose(dialog, IDC_PARTITION_1, 0);
        takeReports();
        terminateWhen([this] { return commitAddresses(player->outputReports()).size() >= 20; });
        FileDialog::setNextFileName(path);
        testing::internal::CaptureStderr();
        QTest::mouseClick(DialogBuilder::control<QPushButton>(dialog, IDC_LOAD), Qt::LeftButton);
        const std::string told = testing::internal::GetCapturedStderr();
        EXPECT_NE(told.find("Download interrotto: il brano sul lettore contiene solo i primi"),
                  std::string::npos)
            << told;
        EXPECT_TRUE(MessageBox::takeRecorded().isEmpty()) << "no box waits for a click that never comes";
        EXPECT_TRUE(waitFor([&] { return !dialog.isVisible(); }));
    });
    const std::vector<std::uint32_t> commits = commitAddresses(player->outputReports());
    ASSERT_GT(commits.size(), 15u);
    // The header, some of the samples, then an end mark at the start of each later sector of the slot.
    const std::size_t samples = commits.size() - 2 - 15;
    EXPECT_GE(samples, 18u);
    EXPECT_LT(samples, kBlocks);
    EXPECT_EQ(commits[1 + samples], 0x80u + (samples - 1) * 64u);
    for (std::uint32_t sector = 1; sector < 16; ++sector) {
        EXPECT_EQ(commits[1 + samples + sector], sector * 0x10000u);
    }
    EXPECT_EQ(app.m_strTrackName[0], "lungo") << "the slot holds the file's beginning";
}

TEST_F(StopSignalTest, TheTrackWindowIsCancelledNothingIsSentAndTheWindowCloses)
{
    QTemporaryDir dir;
    const QString wide = dir.filePath(QStringLiteral("Canzone.wav"));
    ASSERT_TRUE(WavBuilder().fmt(1, 1, 22050, 16).data(WavBuilder::samples(6400)).writeTo(wide));
    runMainWindow([&](CPlayerDlg& dialog) {
        choose(dialog, IDC_PARTITION_2, 1);
        takeReports();
        terminateWhen([] { return qobject_cast<CTrackDlg*>(QApplication::activeModalWidget()) != nullptr; });
        FileDialog::setNextFileName(wide);
        QTest::mouseClick(DialogBuilder::control<QPushButton>(dialog, IDC_LOAD), Qt::LeftButton);
        EXPECT_TRUE(takeReports().empty());
        EXPECT_EQ(app.m_strTrackName[1], "Brano 2");
        EXPECT_TRUE(waitFor([&] { return !dialog.isVisible(); }));
    });
}

} // namespace
