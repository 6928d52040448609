#include "ContextTranslator.h"

#include "ui/CProgressDlg.h"
#include "widgets/DialogBuilder.h"

#include "ui/WidgetAppUi.h"

#include <QApplication>
#include <QLabel>
#include <QProgressBar>
#include <QPushButton>
#include <QTest>
#include <QTimer>

#include <gtest/gtest.h>

namespace {

TEST(CProgressDlg, ShowsItsCaptionAndACancelButtonOnlyEnabledOnRequest)
{
    CProgressDlg plain;
    ASSERT_TRUE(plain.Create(nullptr, QStringLiteral("Download file audio in corso..."), 0x3FF7F, 0));
    EXPECT_TRUE(plain.isVisible());
    EXPECT_FALSE(plain.isModal());
    EXPECT_EQ(plain.windowTitle(), "Download file audio in corso...");
    auto* cancel = DialogBuilder::control<QPushButton>(plain, IDCANCEL);
    ASSERT_NE(cancel, nullptr);
    EXPECT_EQ(cancel->text(), "Annulla");
    EXPECT_TRUE(cancel->isVisible());
    EXPECT_FALSE(cancel->isEnabled());
    // Without a Cancel button to offer, Escape and the close box leave the window up.
    plain.reject();
    EXPECT_TRUE(plain.isVisible());

    CProgressDlg cancellable;
    ASSERT_TRUE(cancellable.Create(nullptr, QStringLiteral("x"), 100, CProgressDlg::kEnableCancel));
    EXPECT_TRUE(DialogBuilder::control<QPushButton>(cancellable, IDCANCEL)->isEnabled());
}

TEST(CProgressDlg, ASetsWindowAsksToStopOnceAndStaysUntilItsCreatorEndsIt)
{
    CProgressDlg dialog;
    ASSERT_TRUE(dialog.Create(nullptr, QStringLiteral("x"), 100, CProgressDlg::kEnableCancel));
    dialog.SetDetail(QStringLiteral("File 2 di 3: \"B\" nel brano 2 di 4"));
    dialog.SetItemProgress(45);
    EXPECT_EQ(DialogBuilder::control<QLabel>(dialog, IDC_PROGRESS_DETAIL)->text(),
              "File 2 di 3: \"B\" nel brano 2 di 4 — 45%");
    EXPECT_FALSE(dialog.stopRequested());
    QTest::keyClick(&dialog, Qt::Key_Escape);
    EXPECT_TRUE(dialog.stopRequested());
    EXPECT_TRUE(dialog.isVisible()) << "the work still runs: the window says so until it ends";
    EXPECT_FALSE(DialogBuilder::control<QPushButton>(dialog, IDCANCEL)->isEnabled());
    dialog.close();
    EXPECT_TRUE(dialog.isVisible());

    // A single file's window, with no Cancel, is never asked to stop.
    CProgressDlg plain;
    ASSERT_TRUE(plain.Create(nullptr, QStringLiteral("x"), 100, 0));
    QTest::keyClick(&plain, Qt::Key_Escape);
    EXPECT_FALSE(plain.stopRequested());
}

// Answers for one context only, so that a text looked up in another context stays as it was.
TEST(CProgressDlg, TakesItsButtonsTextFromTheTranslationOfItsOwnTemplate)
{
    CProgressDlg dialog;
    bool created = false;
    {
        const ContextTranslator translator("IDD_PROGRESS", {{"Annulla", QStringLiteral("Cancel")}});
        created = dialog.Create(nullptr, QStringLiteral("x"), 100, CProgressDlg::kEnableCancel);
    }
    ASSERT_TRUE(created);
    EXPECT_EQ(DialogBuilder::control<QPushButton>(dialog, IDCANCEL)->text(), "Cancel");
}

TEST(CProgressDlg, NamesWhatItDoesAndShowsHowFarInPercent)
{
    CProgressDlg dialog;
    ASSERT_TRUE(dialog.Create(nullptr, QStringLiteral("x"), 1000, 0));
    dialog.SetDetail(QStringLiteral("\"Canzone\" nel brano 2 di 4"));
    dialog.SetPos(500);
    EXPECT_EQ(DialogBuilder::control<QProgressBar>(dialog, IDC_PROGRESS)->text(), "50%");
    EXPECT_EQ(DialogBuilder::control<QLabel>(dialog, IDC_PROGRESS_DETAIL)->text(),
              "\"Canzone\" nel brano 2 di 4");

    // A name too long for the line gives way in its middle: which file and how far stay in view, and the
    // whole line is a pointer's rest away.
    const QString name(80, QLatin1Char('a'));
    dialog.SetDetail(QStringLiteral("File 2 di 3: \"%1\" nel brano 2 di 4").arg(name));
    dialog.SetItemProgress(45);
    auto* detail = DialogBuilder::control<QLabel>(dialog, IDC_PROGRESS_DETAIL);
    const QString whole = QStringLiteral("File 2 di 3: \"%1\" nel brano 2 di 4 — 45%").arg(name);
    EXPECT_TRUE(detail->text().startsWith("File 2 di 3: \"aaa")) << detail->text().toStdString();
    EXPECT_TRUE(detail->text().endsWith("nel brano 2 di 4 — 45%")) << detail->text().toStdString();
    EXPECT_LE(detail->sizeHint().width(), detail->width());
    EXPECT_EQ(detail->toolTip(), whole);
    EXPECT_EQ(DialogBuilder::control<QProgressBar>(dialog, IDC_PROGRESS)->accessibleDescription(), whole);
}

TEST(CProgressDlg, TheBarCoversAWholeSlot)
{
    CProgressDlg dialog;
    ASSERT_TRUE(dialog.Create(nullptr, QStringLiteral("x"), 0xFFF7F, 0));
    auto* bar = DialogBuilder::control<QProgressBar>(dialog, IDC_PROGRESS);
    ASSERT_NE(bar, nullptr);
    EXPECT_EQ(bar->minimum(), 0);
    EXPECT_EQ(bar->maximum(), 0xFFF7F);
    EXPECT_EQ(bar->value(), 0);

    dialog.SetPos(0x7FFC0);
    EXPECT_EQ(bar->value(), 0x7FFC0) << "half full";
    // A step too small to move the bar by a pixel is shown with the next one that does.
    dialog.SetPos(0x7FFC0 + 64);
    dialog.SetPos(0x7FFC0 + 0x10000);
    EXPECT_EQ(bar->value(), 0x7FFC0 + 0x10000);
    // The last block of a full slot ends one past the range.
    dialog.SetPos(0xFFF80);
    EXPECT_EQ(bar->value(), bar->maximum());
}

TEST(CProgressDlg, WorkShownWithProgressEndsWhenItFinishesOrTheUserCancels)
{
    WidgetAppUi ui;
    // Finished after a few looks: the window goes by itself.
    int looks = 0;
    EXPECT_TRUE(ui.waitWithProgress(
        QStringLiteral("Conversione"), [] { return 0.5; }, [&] { return ++looks > 3; }));
    EXPECT_EQ(QApplication::activeModalWidget(), nullptr);

    // Never finished: "Annulla" ends the wait.
    int shownAt = -1;
    QTimer::singleShot(100, [&] {
        auto* dialog = qobject_cast<CProgressDlg*>(QApplication::activeModalWidget());
        ASSERT_NE(dialog, nullptr);
        shownAt = DialogBuilder::control<QProgressBar>(*dialog, IDC_PROGRESS)->value();
        QTest::mouseClick(DialogBuilder::control<QPushButton>(*dialog, IDCANCEL), Qt::LeftButton);
    });
    EXPECT_FALSE(ui.waitWithProgress(
        QStringLiteral("Conversione"), [] { return 0.25; }, [] { return false; }));
    EXPECT_EQ(shownAt, 250) << "the bar shows the worker's fraction";
}

} // namespace
